/* A demo site for either installation layout, run by schema/fill-demo, which puts
   the number of controllers in place of __SIZE__, and the owners and the events
   per controller in place of __OWNERS__ and __EVENTS__ (80 and 800 unless told).
   Per controller: 2 PCN, 2 controller inputs, 4 slaves with 4 outputs, 4 inputs and
   2 readers each, 2 card groups, 2 krontur, 7 programs, the owners, the events, a
   tenth as many alarms, a twentieth as many operator journal rows, and a few rows
   of every other table. Keys are assigned by the tables' own triggers and have gaps,
   as in an installation that has lived for a while; the key ranges differ from
   table to table so that a reference rewritten through the wrong table shows.

   In SQL dialect 1 arithmetic gives doubles ("/" divides as a double, and even a
   sum shows as 5.000000000000000 in text), so results are stored in integer
   variables before they are used as text; whole quotients are (A - MOD(A, B)) / B.

   DEMO_KEYS lists the keys of each device table by number (HT as in
   EVDESC.ED_HARDTYPE) so that later rows can pick real devices; it is dropped at
   the end. */

CREATE TABLE DEMO_KEYS (
  HT SMALLINT NOT NULL,
  IDX INTEGER NOT NULL,
  K INTEGER NOT NULL,
  CONSTRAINT PK_DEMO_KEYS PRIMARY KEY (HT, IDX)
);
/* The event descriptions by number, for picking one per event. */
CREATE TABLE DEMO_DESC (
  IDX INTEGER NOT NULL PRIMARY KEY,
  CODE INTEGER,
  ADDCODE INTEGER,
  HT SMALLINT
);
/* The demo sets registration dates of its own. */
ALTER TRIGGER OWNER_BI_REGDATE INACTIVE;
COMMIT;

SET TERM ^ ;

/* Key ranges: a generator below its start is moved up to it. */
EXECUTE BLOCK AS
  DECLARE VARIABLE G VARCHAR(31);
  DECLARE VARIABLE LOWEST INTEGER;
  DECLARE VARIABLE CUR INTEGER;
  DECLARE VARIABLE STEP INTEGER;
BEGIN
  FOR SELECT G, LOWEST FROM (
        SELECT 'GEN_HOSTS' AS G, 10 AS LOWEST FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_CONTROLLERS', 100 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_PCN', 2000 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_CINPUTS', 3000 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_SLAVES', 5000 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_OUTPUTS', 20000 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_INPUTS', 40000 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_READERS', 60000 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_MACROSES', 90000 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_CARDGROUPS', 70000 FROM RDB$DATABASE
        UNION ALL SELECT 'GEN_KRONTUR', 80000 FROM RDB$DATABASE) INTO :G, :LOWEST
  DO BEGIN
    EXECUTE STATEMENT 'SELECT GEN_ID(' || G || ', 0) FROM RDB$DATABASE' INTO :CUR;
    STEP = LOWEST - CUR;
    IF (STEP > 0) THEN
      EXECUTE STATEMENT 'SELECT GEN_ID(' || G || ', ' || STEP || ') FROM RDB$DATABASE' INTO :CUR;
  END
END^

/* Devices. */
EXECUTE BLOCK AS
  DECLARE VARIABLE S INTEGER = __SIZE__;
  DECLARE VARIABLE NH INTEGER;
  DECLARE VARIABLE I INTEGER;
  DECLARE VARIABLE C INTEGER;
  DECLARE VARIABLE J INTEGER;
  DECLARE VARIABLE R INTEGER;
  DECLARE VARIABLE Q INTEGER;
  DECLARE VARIABLE DUMMY INTEGER;
  DECLARE VARIABLE HS INTEGER;
  DECLARE VARIABLE CT INTEGER;
  DECLARE VARIABLE SL INTEGER;
  DECLARE VARIABLE RD INTEGER;
  DECLARE VARIABLE FIRST_RD INTEGER;
  DECLARE VARIABLE FIRST_IN INTEGER;
  DECLARE VARIABLE FIRST_OU INTEGER;
  DECLARE VARIABLE PC INTEGER;
  DECLARE VARIABLE CI INTEGER;
  DECLARE VARIABLE IN1 INTEGER;
  DECLARE VARIABLE IN2 INTEGER;
  DECLARE VARIABLE IN3 INTEGER;
  DECLARE VARIABLE IN4 INTEGER;
  DECLARE VARIABLE OU1 INTEGER;
  DECLARE VARIABLE OU2 INTEGER;
  DECLARE VARIABLE OU3 INTEGER;
  DECLARE VARIABLE OU4 INTEGER;
  DECLARE VARIABLE NRD INTEGER = 0;
  DECLARE VARIABLE KEYBASE INTEGER;
  DECLARE VARIABLE N1 INTEGER = 0;
  DECLARE VARIABLE N2 INTEGER = 0;
  DECLARE VARIABLE N3 INTEGER = 0;
  DECLARE VARIABLE N4 INTEGER = 0;
  DECLARE VARIABLE N5 INTEGER = 0;
  DECLARE VARIABLE N6 INTEGER = 0;
  DECLARE VARIABLE N7 INTEGER = 0;
  DECLARE VARIABLE N8 INTEGER = 0;
  DECLARE VARIABLE NTAIL INTEGER;
BEGIN
  /* Rows with own keys continue after whatever is there already. */
  SELECT MAXVALUE(COALESCE((SELECT MAX(AR_ID) FROM AGRIGHTS), 0),
                  COALESCE((SELECT MAX(AS_ID) FROM AGSCH), 0),
                  COALESCE((SELECT MAX(CD_ID) FROM CARDSDEF), 0),
                  COALESCE((SELECT MAX(DS_ID) FROM DAYSCH), 0),
                  COALESCE((SELECT MAX(TM_ID) FROM TIMERS), 0),
                  COALESCE((SELECT MAX(PD_ID) FROM PRGDEF), 0),
                  COALESCE((SELECT MAX(RA_ID) FROM ROBOTS$ACTIONS), 0),
                  COALESCE((SELECT MAX(ZN_ID) FROM ZONES), 0))
  FROM RDB$DATABASE INTO :KEYBASE;

  /* One host per 8 controllers, at least two, and an archived one left without
     controllers. */
  NTAIL = MOD(S, 8);
  NH = 2 + (S - NTAIL) / 8;
  I = 1;
  WHILE (I <= NH + 1) DO
  BEGIN
    INSERT INTO HOSTS (HS_NAME, HS_ADDRESS, HS_ARCHIVE)
    VALUES (IIF(:I <= :NH, 'Сервер ' || :I, 'Старый сервер'), '192.168.' || MOD(:I, 256) || '.10',
            IIF(:I <= :NH, 0, 1))
    RETURNING HS_ID INTO :HS;
    IF (I <= NH) THEN
    BEGIN
      INSERT INTO DEMO_KEYS (HT, IDX, K) VALUES (1, :N1, :HS);
      N1 = N1 + 1;
    END
    J = 1;
    WHILE (J <= 3) DO
    BEGIN
      KEYBASE = KEYBASE + 1;
      INSERT INTO ROBOTS$ACTIONS (RA_ID, RA_HS_ID, RA_NAME, RA_KIND, RA_PARAM)
      VALUES (:KEYBASE, :HS,
              DECODE(:J, 1, 'Резервное копирование', 2, 'Отчет за смену', 'Очистка журнала'), :J,
              DECODE(:J, 1, '/var/backup', 2, 'report.rtf', '90'));
      J = J + 1;
    END
    IF (MOD(I, 3) = 1) THEN DUMMY = GEN_ID(GEN_HOSTS, 2);
    I = I + 1;
  END

  C = 1;
  WHILE (C <= S) DO
  BEGIN
    SELECT K FROM DEMO_KEYS WHERE HT = 1 AND IDX = MOD(:C - 1, :N1) INTO :HS;
    INSERT INTO CONTROLLERS (CT_HS_ID, CT_NAME, CT_ADDR, CT_ARCHIVE)
    VALUES (:HS, 'Контроллер ' || :C, :C, IIF(MOD(:C, 7) = 2, 1, 0))
    RETURNING CT_ID INTO :CT;
    INSERT INTO DEMO_KEYS (HT, IDX, K) VALUES (2, :N2, :CT);
    N2 = N2 + 1;

    J = 1;
    WHILE (J <= 2) DO
    BEGIN
      INSERT INTO PCN (PC_CT_ID, PC_NUM, PC_NAME) VALUES (:CT, :J, 'Пульт ' || :J)
      RETURNING PC_ID INTO :PC;
      INSERT INTO DEMO_KEYS (HT, IDX, K) VALUES (6, :N6, :PC);
      N6 = N6 + 1;
      INSERT INTO CINPUTS (CI_CT_ID, CI_NUM, CI_NAME) VALUES (:CT, :J, 'Тампер ' || :J)
      RETURNING CI_ID INTO :CI;
      INSERT INTO DEMO_KEYS (HT, IDX, K) VALUES (5, :N5, :CI);
      N5 = N5 + 1;
      INSERT INTO CARDGROUPS (CG_NAME, CG_CT_ID, CG_NUM)
      VALUES (DECODE(:J, 1, 'Сотрудники', 'Посетители'), :CT, :J);
      INSERT INTO KRONTUR (KT_CT_ID, KT_NUM, KT_NAME)
      VALUES (:CT, :J, DECODE(:J, 1, 'Рабочий день', 'Выходной'));
      KEYBASE = KEYBASE + 1;
      INSERT INTO CARDSDEF (CD_ID, CD_CT_ID, CD_NUM, CD_FORMAT, CD_NAME)
      VALUES (:KEYBASE, :CT, :J, 25 + :J * 9, IIF(:J = 1, 'Wiegand 26', 'Wiegand 34'));
      KEYBASE = KEYBASE + 1;
      INSERT INTO TIMERS (TM_ID, TM_CT_ID, TM_NUM, TM_TIME, TM_NAME)
      VALUES (:KEYBASE, :CT, :J, 5 * :J, 'Таймер ' || :J);
      J = J + 1;
    END
    J = 1;
    WHILE (J <= 3) DO
    BEGIN
      KEYBASE = KEYBASE + 1;
      INSERT INTO DAYSCH (DS_ID, DS_CT_ID, DS_NUM, DS_FROM, DS_TO, DS_NAME)
      VALUES (:KEYBASE, :CT, :J, DECODE(:J, 1, 480, 2, 780, 0), DECODE(:J, 1, 1020, 2, 840, 1440),
              DECODE(:J, 1, 'Смена', 2, 'Обед', 'Сутки'));
      J = J + 1;
    END

    FIRST_RD = NULL;
    FIRST_IN = NULL;
    FIRST_OU = NULL;
    J = 1;
    WHILE (J <= 4) DO
    BEGIN
      INSERT INTO SLAVES (SL_CT_ID, SL_NUM, SL_NAME, SL_ARCHIVE, SL_TYPE)
      VALUES (:CT, :J, 'Модуль ' || :C || '.' || :J, IIF(:J = 4 AND MOD(:C, 2) = 0, 1, 0), 1 + MOD(:J, 2))
      RETURNING SL_ID INTO :SL;
      INSERT INTO DEMO_KEYS (HT, IDX, K) VALUES (3, :N3, :SL);
      N3 = N3 + 1;

      Q = 1;
      WHILE (Q <= 4) DO
      BEGIN
        INSERT INTO OUTPUTS (OU_SL_ID, OU_NUM, OU_NAME, OU_PULSE)
        VALUES (:SL, :Q, DECODE(:Q, 1, 'Индикатор', 2, 'Замок', 3, 'Сирена', 'Табло'), 0.5 * :Q)
        RETURNING OU_ID INTO :R;
        INSERT INTO DEMO_KEYS (HT, IDX, K) VALUES (8, :N8, :R);
        N8 = N8 + 1;
        IF (Q = 1) THEN OU1 = R;
        IF (Q = 2) THEN OU2 = R;
        IF (Q = 3) THEN OU3 = R;
        IF (Q = 4) THEN OU4 = R;
        INSERT INTO INPUTS (IN_SL_ID, IN_NUM, IN_NAME)
        VALUES (:SL, :Q, DECODE(:Q, 1, 'Кнопка выхода', 2, 'Датчик двери', 3, 'Пожарный шлейф', 'Охранный шлейф'))
        RETURNING IN_ID INTO :R;
        INSERT INTO DEMO_KEYS (HT, IDX, K) VALUES (7, :N7, :R);
        N7 = N7 + 1;
        IF (Q = 1) THEN IN1 = R;
        IF (Q = 2) THEN IN2 = R;
        IF (Q = 3) THEN IN3 = R;
        IF (Q = 4) THEN IN4 = R;
        Q = Q + 1;
      END
      IF (FIRST_IN IS NULL) THEN FIRST_IN = IN1;
      IF (FIRST_OU IS NULL) THEN FIRST_OU = OU1;

      /* Two doors per slave; the second has its own closing output and a spare input. */
      Q = 1;
      WHILE (Q <= 2) DO
      BEGIN
        NRD = NRD + 1;
        INSERT INTO READERS (RD_SL_ID, RD_NUM, RD_NAME, RD_ARCHIVE,
                             RD_IN_1, RD_IN_2, RD_IN_3, RD_IN_4,
                             RD_OUT_IND0, RD_OUT_IND1, RD_OUT_IND2, RD_OUT_IND3,
                             RD_OUT_OPEN, RD_OUT_CLOSE, RD_MODE)
        VALUES (:SL, :Q, DECODE(:Q, 1, 'Вход', 'Выход') || ' ' || :C || '.' || :J,
                IIF(MOD(:NRD, 9) = 8, 1, 0),
                IIF(:Q = 1, :IN1, :IN3), IIF(:Q = 1, :IN2, :IN4), NULL, IIF(:Q = 2, :IN2, NULL),
                IIF(:Q = 1, :OU1, :OU3), NULL, IIF(:Q = 2, :OU4, NULL), NULL,
                IIF(:Q = 1, :OU2, :OU4), IIF(:Q = 2, :OU2, NULL), :Q)
        RETURNING RD_ID INTO :RD;
        INSERT INTO DEMO_KEYS (HT, IDX, K) VALUES (4, :N4, :RD);
        N4 = N4 + 1;
        IF (FIRST_RD IS NULL) THEN FIRST_RD = RD;

        KEYBASE = KEYBASE + 1;
        INSERT INTO AGRIGHTS (AR_ID, AR_AG_NUM, AR_RD_ID, AR_SCH_NUM, AR_RIGHT)
        VALUES (:KEYBASE, 1, :RD, 1, 1);
        KEYBASE = KEYBASE + 1;
        INSERT INTO AGRIGHTS (AR_ID, AR_AG_NUM, AR_RD_ID, AR_SCH_NUM, AR_RIGHT)
        VALUES (:KEYBASE, 2, :RD, 2, IIF(:Q = 1, 1, 0));
        KEYBASE = KEYBASE + 1;
        INSERT INTO AGSCH (AS_ID, AS_AG_NUM, AS_RD_ID, AS_DAY, AS_FROM, AS_TO)
        VALUES (:KEYBASE, 1, :RD, 127, 480, 1080);
        KEYBASE = KEYBASE + 1;
        INSERT INTO ZONES (ZN_ID, ZN_NAME, ZN_RD_ID) VALUES (:KEYBASE, 'Зона за ' || :RD, :RD);
        Q = Q + 1;
      END

      /* Gaps, as left by deleted devices. */
      IF (MOD(J, 2) = 0) THEN DUMMY = GEN_ID(GEN_READERS, 1);
      IF (J = 2 AND MOD(C, 2) = 1) THEN DUMMY = GEN_ID(GEN_SLAVES, 1);
      IF (MOD(C + J, 3) = 0) THEN DUMMY = GEN_ID(GEN_INPUTS, 3);
      IF (MOD(C + J, 4) = 0) THEN DUMMY = GEN_ID(GEN_OUTPUTS, 2);
      J = J + 1;
    END
    IF (MOD(C, 5) = 1) THEN DUMMY = GEN_ID(GEN_CONTROLLERS, 4);

    /* Programs: one per device type the controller knows, and two without a device. */
    Q = 1;
    WHILE (Q <= 7) DO
    BEGIN
      KEYBASE = KEYBASE + 1;
      INSERT INTO PRGDEF (PD_ID, PD_NUM, PD_CT_ID, PD_TYPE, PD_NAME, PD_DEV_ID, PD_PARAM)
      VALUES (:KEYBASE, :Q, :CT, DECODE(:Q, 1, 4, 2, 5, 3, 6, 4, 7, 5, 8, 6, 1, 3),
              DECODE(:Q, 1, 'Доступ по карте', 2, 'Тревога корпуса', 3, 'Команда с пульта',
                     4, 'Выход по кнопке', 5, 'Управление замком', 6, 'Опрос сервера', 'Пауза'),
              DECODE(:Q, 1, :FIRST_RD, 2, :CI, 3, :PC, 4, :FIRST_IN, 5, :FIRST_OU, 6, 0, NULL),
              1.25 * :Q);
      Q = Q + 1;
    END
    C = C + 1;
  END
END^

/* Owners: __OWNERS__ per controller, keys with a gap after every 50, one in twenty
   archived, three in four with a photo (kept in OWNER here; the current layout
   moves them to OWNERPHOTOS below). */
EXECUTE BLOCK AS
  DECLARE VARIABLE S INTEGER = __SIZE__;
  DECLARE VARIABLE NOWN INTEGER;
  DECLARE VARIABLE I INTEGER = 1;
  DECLARE VARIABLE OBASE INTEGER;
  DECLARE VARIABLE OW INTEGER;
  DECLARE VARIABLE GAP INTEGER;
  DECLARE VARIABLE PH BLOB SUB_TYPE 0;
BEGIN
  NOWN = __OWNERS__ * S;
  SELECT COALESCE(MAX(OW_ID), 0) FROM OWNER INTO :OBASE;
  WHILE (I <= NOWN) DO
  BEGIN
    GAP = (I - MOD(I, 50)) / 50;
    OW = OBASE + I + GAP;
    PH = NULL;
    IF (MOD(I, 4) <> 0) THEN
      PH = x'FFD8FFE000104A464946' || LPAD('', 100 + MOD(I * 37, 400), ASCII_CHAR(65 + MOD(I, 26)))
           || OW || x'FFD9';
    INSERT INTO OWNER (OW_ID, OW_NAME, OW_FNAME, OW_SNAME, OW_CARD, OW_TABNUM, OW_DEPT, OW_BALANCE,
                       OW_ARCHIVE, OW_REGDATE, OW_LASTPASS, OW_PHOTO)
    VALUES (:OW,
            DECODE(MOD(:I, 12), 0, 'Иванов', 1, 'Петров', 2, 'Сидоров', 3, 'Смирнов', 4, 'Кузнецов',
                   5, 'Попов', 6, 'Васильев', 7, 'Соколов', 8, 'Михайлов', 9, 'Новиков',
                   10, 'Фёдоров', 'Морозов'),
            DECODE(MOD(:I, 10), 0, 'Александр', 1, 'Сергей', 2, 'Андрей', 3, 'Дмитрий', 4, 'Алексей',
                   5, 'Михаил', 6, 'Игорь', 7, 'Николай', 8, 'Владимир', 'Евгений'),
            DECODE(MOD(:I, 8), 0, 'Иванович', 1, 'Петрович', 2, 'Сергеевич', 3, 'Андреевич',
                   4, 'Николаевич', 5, 'Михайлович', 6, 'Викторович', 'Юрьевич'),
            LPAD(MOD(:I * 7919 + 12345, 100000000), 10, '0'), 1000 + :I,
            DECODE(MOD(:I, 6), 0, 'Бухгалтерия', 1, 'Отдел кадров', 2, 'Охрана', 3, 'Склад',
                   4, 'Производство', 'Администрация'),
            MOD(:I * 37, 10000) / 100.0, IIF(MOD(:I, 20) = 7, 1, 0),
            CAST('2020-03-01' AS DATE) + MOD(:I * 13, 2000), NULL, :PH);
    I = I + 1;
  END
END^

/* Macros with numeric lines ("code;number;type;key;...") and named lines
   ("code:key:parameter:x:y:Command:") naming real readers (type 6), outputs (7) and
   inputs (8); some end without a final line break, one names a reader that does
   not exist. */
EXECUTE BLOCK AS
  DECLARE VARIABLE S INTEGER = __SIZE__;
  DECLARE VARIABLE NM INTEGER;
  DECLARE VARIABLE M INTEGER = 1;
  DECLARE VARIABLE N4 INTEGER;
  DECLARE VARIABLE N7 INTEGER;
  DECLARE VARIABLE N8 INTEGER;
  DECLARE VARIABLE RD INTEGER;
  DECLARE VARIABLE OU INTEGER;
  DECLARE VARIABLE INP INTEGER;
  DECLARE VARIABLE MC INTEGER;
  DECLARE VARIABLE CRLF CHAR(2);
  DECLARE VARIABLE TXT BLOB SUB_TYPE 1;
BEGIN
  CRLF = ASCII_CHAR(13) || ASCII_CHAR(10);
  NM = 2 * S + 2;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 4 INTO :N4;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 7 INTO :N7;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 8 INTO :N8;
  WHILE (M <= NM) DO
  BEGIN
    SELECT K FROM DEMO_KEYS WHERE HT = 4 AND IDX = MOD(:M * 3, :N4) INTO :RD;
    SELECT K FROM DEMO_KEYS WHERE HT = 8 AND IDX = MOD(:M * 5, :N8) INTO :OU;
    SELECT K FROM DEMO_KEYS WHERE HT = 7 AND IDX = MOD(:M * 7, :N7) INTO :INP;
    TXT = '24;0;6;' || RD || ';0;1;' || CRLF
       || '22;0;7;' || OU || ';0;1;' || CRLF
       || '5:' || INP || ':3:x:y:TakeInAT:' || CRLF
       || '7:' || OU || ':1:aa:bb:ResetUU:' || CRLF;
    IF (MOD(M, 2) = 0) THEN
      TXT = TXT || CRLF || '26;0;8;' || INP || ';0;3;' || CRLF
         || '9:' || RD || ':5:p4:p5:SetAcMode:' || CRLF
         || '5;0;5;007;0;' || CRLF;
    IF (MOD(M, 3) = 0) THEN
      TXT = TXT || '11:' || RD || ':0:p4:p5:EnableAcWish:' || CRLF
         || '1:' || RD || ':0:p4:p5:NoSuchCommand:' || CRLF;
    IF (M = 2) THEN
      TXT = TXT || '24;0;6;999999;0;1;' || CRLF;
    /* Every third macro ends without a line break. */
    IF (MOD(M, 3) = 1) THEN
      TXT = TXT || '32;0;6;' || RD || ';0;2;';
    INSERT INTO MACROSES (MCR_NAME, MCR_FILL)
    VALUES (DECODE(MOD(:M, 4), 0, 'Открыть все двери', 1, 'Закрыть все двери',
                   2, 'Сброс тревог', 'Режим охраны') || ' ' || :M, :TXT)
    RETURNING MCR_ID INTO :MC;
    INSERT INTO MAKROS_RIGHT (MR_MCR_ID, MR_USER, MR_RIGHT) VALUES (:MC, 'ADMIN', 1);
    IF (MOD(M, 2) = 0) THEN
      INSERT INTO MAKROS_RIGHT (MR_MCR_ID, MR_USER, MR_RIGHT) VALUES (:MC, 'Оператор', 0);
    IF (MOD(M, 5) = 1) THEN MC = GEN_ID(GEN_MACROSES, 1);
    M = M + 1;
  END
END^

/* Settings. USERS_RD_RIGHTS texts list the readers an operator may use as
   "prefix]reader key" lines; the filter sections name controllers. Lines gather
   in strings that join their texts in pieces: a blob grown line by line is
   copied whole for every line, which a site of thousands of readers cannot afford. */
EXECUTE BLOCK AS
  DECLARE VARIABLE ID INTEGER;
  DECLARE VARIABLE RD INTEGER;
  DECLARE VARIABLE CT INTEGER;
  DECLARE VARIABLE IDX INTEGER;
  DECLARE VARIABLE CRLF CHAR(2);
  DECLARE VARIABLE RIGHTS_ADMIN BLOB SUB_TYPE 1;
  DECLARE VARIABLE RIGHTS_OPER BLOB SUB_TYPE 1;
  DECLARE VARIABLE RIGHTS_GUARD BLOB SUB_TYPE 1;
  DECLARE VARIABLE FILTER_TEXT BLOB SUB_TYPE 1;
  DECLARE VARIABLE PIECE_ADMIN VARCHAR(8000);
  DECLARE VARIABLE PIECE_OPER VARCHAR(8000);
  DECLARE VARIABLE PIECE_FILTER VARCHAR(8000);
BEGIN
  CRLF = ASCII_CHAR(13) || ASCII_CHAR(10);
  SELECT COALESCE(MAX(ID_ID), 0) FROM INIDATA INTO :ID;
  RIGHTS_ADMIN = '';
  RIGHTS_OPER = '';
  RIGHTS_GUARD = '';
  PIECE_ADMIN = '';
  PIECE_OPER = '';
  FOR SELECT IDX, K FROM DEMO_KEYS WHERE HT = 4 ORDER BY IDX INTO :IDX, :RD DO
  BEGIN
    PIECE_ADMIN = PIECE_ADMIN || '1]' || RD || CRLF;
    IF (MOD(IDX, 2) = 0) THEN PIECE_OPER = PIECE_OPER || 'RD' || MOD(IDX, 3) || ']' || RD || CRLF;
    IF (IDX < 8) THEN RIGHTS_GUARD = RIGHTS_GUARD || '[Проход]' || RD || CRLF;
    IF (CHAR_LENGTH(PIECE_ADMIN) > 7000) THEN
    BEGIN
      RIGHTS_ADMIN = RIGHTS_ADMIN || PIECE_ADMIN;
      PIECE_ADMIN = '';
    END
    IF (CHAR_LENGTH(PIECE_OPER) > 7000) THEN
    BEGIN
      RIGHTS_OPER = RIGHTS_OPER || PIECE_OPER;
      PIECE_OPER = '';
    END
  END
  RIGHTS_ADMIN = RIGHTS_ADMIN || PIECE_ADMIN;
  RIGHTS_OPER = RIGHTS_OPER || PIECE_OPER;
  FILTER_TEXT = '';
  PIECE_FILTER = '';
  FOR SELECT K FROM DEMO_KEYS WHERE HT = 2 ORDER BY IDX INTO :CT DO
  BEGIN
    PIECE_FILTER = PIECE_FILTER || 'CT=' || CT || CRLF;
    IF (CHAR_LENGTH(PIECE_FILTER) > 7000) THEN
    BEGIN
      FILTER_TEXT = FILTER_TEXT || PIECE_FILTER;
      PIECE_FILTER = '';
    END
  END
  FILTER_TEXT = FILTER_TEXT || PIECE_FILTER;

  INSERT INTO INIDATA VALUES (:ID + 1, 'MAIN', 'COMPANY', 'ООО "Демо-объект"' || :CRLF || 'г. Москва');
  INSERT INTO INIDATA VALUES (:ID + 2, 'MAIN', 'SHIFT', '08:00-20:00');
  INSERT INTO INIDATA VALUES (:ID + 3, 'USERS_RD_RIGHTS', 'ADMIN', :RIGHTS_ADMIN);
  INSERT INTO INIDATA VALUES (:ID + 4, 'USERS_RD_RIGHTS', 'Оператор', :RIGHTS_OPER);
  INSERT INTO INIDATA VALUES (:ID + 6, 'USERS_RD_RIGHTS', 'Охрана', :RIGHTS_GUARD);
  INSERT INTO INIDATA VALUES (:ID + 7, 'USER_FILTERS', 'Оператор', :FILTER_TEXT);
  INSERT INTO INIDATA VALUES (:ID + 8, 'USER_CAN_FILTER', 'Оператор', '1');
  INSERT INTO INIDATA VALUES (:ID + 9, 'CTRL_FILTERS', 'ADMIN', :FILTER_TEXT);
  INSERT INTO INIDATA VALUES (:ID + 11, 'REPORTS', 'LAST', 'Отчет по проходам');
END^

/* The operator's own settings of the event descriptions. */
UPDATE EVDESC SET ED_COLOR = 1000 + ED_ID, ED_SOUND = 'sound' || ED_ID || '.wav',
  ED_ISALARM = MOD(ED_ID, 2), ED_PRINT = 1, ED_SHOW = IIF(MOD(ED_ID, 5) = 0, 0, 1)^
UPDATE ACR$EVDESC SET AED_COLOR = 2000 + AED_ID, AED_SOUND = 'acr' || AED_ID || '.wav',
  AED_ISALARM = MOD(AED_ID, 2), AED_PRINT = 1, AED_SHOW = 1^

/* Events and alarms: __EVENTS__ and a tenth as many per controller over 120 days from 1 January 2026,
   codes and device keys matching the descriptions. Some additional codes carry the
   256 flag, and a few codes match no description at all. */
EXECUTE BLOCK AS
  DECLARE VARIABLE S INTEGER = __SIZE__;
  DECLARE VARIABLE NE INTEGER;
  DECLARE VARIABLE NA INTEGER;
  DECLARE VARIABLE ND INTEGER;
  DECLARE VARIABLE NOWN INTEGER;
  DECLARE VARIABLE E INTEGER;
  DECLARE VARIABLE GAP INTEGER;
  DECLARE VARIABLE EBASE INTEGER;
  DECLARE VARIABLE ABASE INTEGER;
  DECLARE VARIABLE OBASE INTEGER;
  DECLARE VARIABLE CODE INTEGER;
  DECLARE VARIABLE ADDCODE INTEGER;
  DECLARE VARIABLE HT INTEGER;
  DECLARE VARIABLE CNT INTEGER;
  DECLARE VARIABLE CNT1 INTEGER;
  DECLARE VARIABLE CNT2 INTEGER;
  DECLARE VARIABLE CNT3 INTEGER;
  DECLARE VARIABLE CNT4 INTEGER;
  DECLARE VARIABLE CNT5 INTEGER;
  DECLARE VARIABLE CNT6 INTEGER;
  DECLARE VARIABLE CNT7 INTEGER;
  DECLARE VARIABLE CNT8 INTEGER;
  DECLARE VARIABLE DEV INTEGER;
  DECLARE VARIABLE OW INTEGER;
  DECLARE VARIABLE D DATE;
  DECLARE VARIABLE T0 DATE;
BEGIN
  NE = __EVENTS__ * S;
  NA = NE / 10;
  T0 = CAST('2026-01-01' AS DATE);
  INSERT INTO DEMO_DESC (IDX, CODE, ADDCODE, HT)
  SELECT ROW_NUMBER() OVER (ORDER BY ED_ID) - 1, ED_CODE, ED_ADDCODE, ED_HARDTYPE FROM EVDESC;
  SELECT COUNT(*) FROM DEMO_DESC INTO :ND;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 1 INTO :CNT1;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 2 INTO :CNT2;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 3 INTO :CNT3;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 4 INTO :CNT4;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 5 INTO :CNT5;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 6 INTO :CNT6;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 7 INTO :CNT7;
  SELECT COUNT(*) FROM DEMO_KEYS WHERE HT = 8 INTO :CNT8;
  SELECT COALESCE(MAX(EV_ID), 0) FROM EVENTS INTO :EBASE;
  SELECT COALESCE(MAX(AL_ID), 0) FROM ALARM INTO :ABASE;
  /* The owners just added are the last __OWNERS__ * S, numbered as in the owner block. */
  NOWN = __OWNERS__ * S;
  SELECT COALESCE(MAX(OW_ID), 0) FROM OWNER INTO :OBASE;
  GAP = (NOWN - MOD(NOWN, 50)) / 50;
  OBASE = OBASE - NOWN - GAP;

  E = 0;
  WHILE (E < NE + NA) DO
  BEGIN
    SELECT CODE, ADDCODE, HT FROM DEMO_DESC WHERE IDX = MOD(:E, :ND)
    INTO :CODE, :ADDCODE, :HT;
    DEV = 0;
    IF (HT BETWEEN 1 AND 8) THEN
    BEGIN
      CNT = DECODE(HT, 1, CNT1, 2, CNT2, 3, CNT3, 4, CNT4, 5, CNT5, 6, CNT6, 7, CNT7, CNT8);
      SELECT K FROM DEMO_KEYS WHERE HT = :HT AND IDX = MOD(:E * 13, :CNT) INTO :DEV;
    END
    OW = NULL;
    IF (HT = 4) THEN
    BEGIN
      OW = 1 + MOD(E * 11, NOWN);
      GAP = (OW - MOD(OW, 50)) / 50;
      OW = OBASE + OW + GAP;
    END
    IF (MOD(E, 97) = 50) THEN CODE = 250;
    ELSE IF (MOD(E, 31) = 5) THEN ADDCODE = ADDCODE + 256;
    IF (E < NE) THEN
    BEGIN
      D = T0 + (E * 120.0) / NE;
      GAP = (E - MOD(E, 100)) / 100;
      INSERT INTO EVENTS (EV_ID, EV_DATE, EV_CODE, EV_ADDCODE, EV_DEV_ID, EV_OW_ID, EV_CARD, EV_TEXT)
      VALUES (:EBASE + :E + 1 + :GAP, :D, :CODE, :ADDCODE, :DEV, :OW,
              IIF(:OW IS NULL, NULL, LPAD(MOD(:OW * 7919 + 12345, 100000000), 10, '0')),
              IIF(MOD(:E, 10) = 0, 'Событие ' || :E, NULL));
    END
    ELSE
    BEGIN
      CNT = E - NE;
      D = T0 + (CNT * 120.0) / NA;
      INSERT INTO ALARM (AL_ID, AL_DATE, AL_CODE, AL_ADDCODE, AL_DEV_ID, AL_OW_ID, AL_ACK, AL_ACKDATE, AL_TEXT)
      VALUES (:ABASE + :CNT + 1, :D, :CODE, :ADDCODE, :DEV, :OW, MOD(:E, 2),
              IIF(MOD(:E, 2) = 1, :D + 0.01, NULL), 'Тревога ' || :CNT);
    END
    E = E + 1;
  END
END^

/* Operator and structure journals: no device keys, only dates and codes. */
EXECUTE BLOCK AS
  DECLARE VARIABLE S INTEGER = __SIZE__;
  DECLARE VARIABLE N INTEGER;
  DECLARE VARIABLE I INTEGER;
  DECLARE VARIABLE B1 INTEGER;
  DECLARE VARIABLE B2 INTEGER;
  DECLARE VARIABLE B3 INTEGER;
  DECLARE VARIABLE B4 INTEGER;
  DECLARE VARIABLE T0 DATE;
BEGIN
  T0 = CAST('2026-01-01' AS DATE);
  SELECT COALESCE(MAX(AEV_ID), 0) FROM ACR$EVENTS INTO :B1;
  SELECT COALESCE(MAX(AAL_ID), 0) FROM ACR$ALARMS INTO :B2;
  SELECT COALESCE(MAX(EV_ID), 0) FROM STR_EVENTS INTO :B3;
  SELECT COALESCE(MAX(AL_ID), 0) FROM STR_ALARMS INTO :B4;
  N = __EVENTS__ / 20 * S;
  I = 0;
  WHILE (I < N) DO
  BEGIN
    INSERT INTO ACR$EVENTS (AEV_ID, AEV_DATE, AEV_CODE, AEV_USER, AEV_TEXT)
    VALUES (:B1 + :I + 1, :T0 + (:I * 120.0) / :N, 1 + MOD(:I, 6),
            DECODE(MOD(:I, 3), 0, 'ADMIN', 'Оператор'), 'Действие оператора ' || :I);
    /* I is a multiple of the divisor in each branch, so the quotients are whole. */
    IF (MOD(I, 4) = 0) THEN
      INSERT INTO ACR$ALARMS (AAL_ID, AAL_DATE, AAL_CODE, AAL_USER, AAL_ACK, AAL_TEXT)
      VALUES (:B2 + :I / 4 + 1, :T0 + (:I * 120.0) / :N, 6, 'ADMIN', MOD(:I, 8) / 4,
              'Ошибка загрузки');
    IF (MOD(I, 2) = 0) THEN
      INSERT INTO STR_EVENTS (EV_ID, EV_DATE, EV_CODE, EV_PARAM, EV_TEXT)
      VALUES (:B3 + :I / 2 + 1, :T0 + (:I * 120.0) / :N, 100 + MOD(:I, 5), :I,
              'Изменение структуры');
    IF (MOD(I, 8) = 0) THEN
      INSERT INTO STR_ALARMS (AL_ID, AL_DATE, AL_CODE, AL_PARAM, AL_ACK, AL_TEXT)
      VALUES (:B4 + :I / 8 + 1, :T0 + (:I * 120.0) / :N, 200, :I, 0, 'Нарушение структуры');
    I = I + 1;
  END
END^

/* State values of every device and owner row: key * 100 + state number, so a value
   read back tells which source row it came from. */
EXECUTE BLOCK AS
  DECLARE VARIABLE T VARCHAR(31);
  DECLARE VARIABLE K INTEGER;
  DECLARE VARIABLE N INTEGER;
  DECLARE VARIABLE CNT INTEGER;
BEGIN
  FOR SELECT 'HOSTS', HS_ID, 14 FROM HOSTS
      UNION ALL SELECT 'CONTROLLERS', CT_ID, 6 FROM CONTROLLERS
      UNION ALL SELECT 'SLAVES', SL_ID, 6 FROM SLAVES
      UNION ALL SELECT 'READERS', RD_ID, 7 FROM READERS
      UNION ALL SELECT 'OWNER', OW_ID, 4 FROM OWNER
      INTO :T, :K, :CNT DO
  BEGIN
    N = 1;
    WHILE (N <= CNT) DO
    BEGIN
      UPDATE OR INSERT INTO STATE_VALUES (SV_TABLE, SV_KEY, SV_NUM, SV_VALUE)
      VALUES (:T, :K, :N, :K * 100 + :N) MATCHING (SV_TABLE, SV_KEY, SV_NUM);
      N = N + 1;
    END
  END
END^

/* What differs between the layouts: the current one keeps photos in OWNERPHOTOS,
   has a port per host and firmware per controller; the older one a modem phone. */
EXECUTE BLOCK AS
BEGIN
  IF (EXISTS(SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'OWNERPHOTOS')) THEN
  BEGIN
    EXECUTE STATEMENT 'UPDATE OWNERPHOTOS P SET P.OW_PHOTO = '
                   || '(SELECT O.OW_PHOTO FROM OWNER O WHERE O.OW_ID = P.OW_ID)';
    EXECUTE STATEMENT 'UPDATE OWNER SET OW_PHOTO = NULL WHERE OW_PHOTO IS NOT NULL';
  END
  IF (EXISTS(SELECT 1 FROM RDB$RELATION_FIELDS
             WHERE RDB$RELATION_NAME = 'HOSTS' AND RDB$FIELD_NAME = 'HS_PORT')) THEN
    EXECUTE STATEMENT 'UPDATE HOSTS SET HS_PORT = 3050 + MOD(HS_ID, 3) WHERE HS_PORT IS NULL';
  IF (EXISTS(SELECT 1 FROM RDB$RELATION_FIELDS
             WHERE RDB$RELATION_NAME = 'CONTROLLERS' AND RDB$FIELD_NAME = 'CT_FIRMWARE')) THEN
    EXECUTE STATEMENT 'UPDATE CONTROLLERS SET CT_FIRMWARE = ''2.'' || MOD(CT_ID, 4)';
  IF (EXISTS(SELECT 1 FROM RDB$RELATION_FIELDS
             WHERE RDB$RELATION_NAME = 'CONTROLLERS' AND RDB$FIELD_NAME = 'CT_PHONE')) THEN
    EXECUTE STATEMENT 'UPDATE CONTROLLERS SET CT_PHONE = ''+7 495 000-'' || CT_ID';
END^

/* Generators of tables with keys of their own continue after the largest key. */
EXECUTE BLOCK AS
  DECLARE VARIABLE G VARCHAR(31);
  DECLARE VARIABLE MX INTEGER;
  DECLARE VARIABLE CUR INTEGER;
  DECLARE VARIABLE STEP INTEGER;
BEGIN
  FOR SELECT 'GEN_OWNER', MAX(OW_ID) FROM OWNER
      UNION ALL SELECT 'GEN_EVENTS', MAX(EV_ID) FROM EVENTS
      UNION ALL SELECT 'GEN_ALARM', MAX(AL_ID) FROM ALARM
      UNION ALL SELECT 'GEN_ACR$EVENTS', MAX(AEV_ID) FROM ACR$EVENTS
      UNION ALL SELECT 'GEN_ACR$ALARMS', MAX(AAL_ID) FROM ACR$ALARMS
      UNION ALL SELECT 'GEN_STR_EVENTS', MAX(EV_ID) FROM STR_EVENTS
      UNION ALL SELECT 'GEN_STR_ALARMS', MAX(AL_ID) FROM STR_ALARMS
      INTO :G, :MX DO
  BEGIN
    EXECUTE STATEMENT 'SELECT GEN_ID(' || G || ', 0) FROM RDB$DATABASE' INTO :CUR;
    STEP = COALESCE(MX, 0) - CUR;
    IF (STEP > 0) THEN
      EXECUTE STATEMENT 'SELECT GEN_ID(' || G || ', ' || STEP || ') FROM RDB$DATABASE' INTO :CUR;
  END
END^

SET TERM ; ^

COMMIT;
ALTER TRIGGER OWNER_BI_REGDATE ACTIVE;
DROP TABLE DEMO_KEYS;
DROP TABLE DEMO_DESC;
COMMIT;
