/* The event descriptions an installation ships with. ED_HARDTYPE names the table of
   the device an event's device key points at: 0 none, 1 host, 2 controller,
   3 slave, 4 reader, 5 controller input, 6 PCN, 7 input, 8 output. An event
   matches a description by code and additional code; an additional code above 255
   carries a flag in bit 8 and matches the description of the code less 256.
   The operator's columns (colour to display) start at their defaults. */

INSERT INTO EVDESC VALUES ( 1,  1, 0, 0, 'Запуск системы',              'Запуск',      0, 0, 1, 0, NULL, NULL, NULL,  1, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES ( 2,  2, 0, 0, 'Остановка системы',           'Остановка',   0, 1, 2, 0, NULL, NULL, NULL,  2, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES ( 3,  3, 0, 0, 'Вход оператора',              'Оператор',    0, 0, 3, 0, NULL, NULL, NULL,  3, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES ( 4, 10, 0, 1, 'Связь с сервером установлена', 'Связь',       1, 0, 4, 0, NULL, NULL, NULL,  4, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES ( 5, 11, 0, 1, 'Потеря связи с сервером',     'Нет связи',   1, 2, 5, 0, NULL, NULL, NULL,  5, 1, 0, NULL, 1, 0, 1);
INSERT INTO EVDESC VALUES ( 6, 20, 0, 2, 'Контроллер на связи',         'На связи',    2, 0, 6, 0, NULL, NULL, NULL,  6, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES ( 7, 21, 0, 2, 'Контроллер не отвечает',      'Не отвечает', 2, 2, 7, 0, NULL, NULL, NULL,  7, 1, 0, NULL, 1, 0, 1);
INSERT INTO EVDESC VALUES ( 8, 22, 1, 2, 'Вскрытие корпуса контроллера', 'Вскрытие',    2, 2, 8, 0, NULL, NULL, NULL,  8, 1, 0, NULL, 1, 0, 1);
INSERT INTO EVDESC VALUES ( 9, 30, 0, 3, 'Модуль на связи',             'На связи',    3, 0, 6, 0, NULL, NULL, NULL,  9, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (10, 31, 0, 3, 'Модуль не отвечает',          'Не отвечает', 3, 2, 7, 0, NULL, NULL, NULL, 10, 1, 0, NULL, 1, 0, 1);
INSERT INTO EVDESC VALUES (11, 40, 0, 4, 'Проход разрешен',             'Проход',      4, 0, 9, 0, NULL, NULL, NULL, 11, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (12, 40, 1, 4, 'Проход запрещен',             'Запрет',      4, 1, 10, 0, NULL, NULL, NULL, 12, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (13, 41, 0, 4, 'Неизвестная карта',           'Неизв. карта', 4, 1, 11, 0, NULL, NULL, NULL, 13, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (14, 42, 0, 4, 'Дверь взломана',              'Взлом',       4, 2, 12, 0, NULL, NULL, NULL, 14, 1, 0, NULL, 1, 0, 1);
INSERT INTO EVDESC VALUES (15, 43, 2, 4, 'Дверь удерживается открытой', 'Удержание',   4, 1, 13, 0, NULL, NULL, NULL, 15, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (16, 50, 0, 5, 'Вход контроллера сработал',   'Сработка',    5, 1, 14, 0, NULL, NULL, NULL, 16, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (17, 60, 0, 6, 'Пульт: команда оператора',    'Пульт',       6, 0, 15, 0, NULL, NULL, NULL, 17, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (18, 70, 0, 7, 'Вход: нарушение',             'Нарушение',   7, 2, 16, 0, NULL, NULL, NULL, 18, 1, 0, NULL, 1, 0, 1);
INSERT INTO EVDESC VALUES (19, 71, 0, 7, 'Вход: норма',                 'Норма',       7, 0, 17, 0, NULL, NULL, NULL, 19, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (20, 80, 0, 8, 'Выход включен',               'Вкл.',        8, 0, 18, 0, NULL, NULL, NULL, 20, 1, 0, NULL, 0, 0, 1);
INSERT INTO EVDESC VALUES (21, 81, 0, 8, 'Выход выключен',              'Выкл.',       8, 0, 19, 0, NULL, NULL, NULL, 21, 1, 0, NULL, 0, 0, 1);

INSERT INTO ACR$EVDESC VALUES (1, 1, 'Вход в программу',            0, 0, 1, 0, NULL, 0, 0, 1);
INSERT INTO ACR$EVDESC VALUES (2, 2, 'Выход из программы',          0, 0, 1, 0, NULL, 0, 0, 1);
INSERT INTO ACR$EVDESC VALUES (3, 3, 'Изменение владельца',         1, 0, 1, 0, NULL, 0, 0, 1);
INSERT INTO ACR$EVDESC VALUES (4, 4, 'Изменение прав доступа',      1, 1, 1, 0, NULL, 0, 0, 1);
INSERT INTO ACR$EVDESC VALUES (5, 5, 'Запуск макроса',              2, 0, 1, 0, NULL, 0, 0, 1);
INSERT INTO ACR$EVDESC VALUES (6, 6, 'Ошибка загрузки контроллера', 2, 2, 1, 0, NULL, 1, 0, 1);

COMMIT;
