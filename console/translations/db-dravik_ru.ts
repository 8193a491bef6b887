<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Check</name>
    <message>
        <source>ev</source>
        <comment>the events section in the table of tables</comment>
        <translation>соб</translation>
    </message>
    <message numerus="yes">
        <source>%1 bytes</source>
        <translation>
            <numerusform>%1 байт</numerusform>
            <numerusform>%1 байта</numerusform>
            <numerusform>%1 байт</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: meant %2, found %3</source>
        <translation>%1: должно быть %2, найдено %3</translation>
    </message>
    <message>
        <source>no destination row</source>
        <translation>нет строки в приемнике</translation>
    </message>
    <message>
        <source>the run recorded no new key for it</source>
        <translation>перенос не записал для нее нового ключа</translation>
    </message>
    <message>
        <source>a destination row that should not be there</source>
        <translation>строка приемника, которой там быть не должно</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>норма</translation>
    </message>
    <message>
        <source>DIFFERENT</source>
        <translation>ОТЛИЧИЯ</translation>
    </message>
    <message>
        <source>the events section</source>
        <translation>раздел событий</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>строка %1</translation>
    </message>
    <message>
        <source>%1 did not do its work: %2</source>
        <translation>%1 не сделала своей работы: %2</translation>
    </message>
    <message>
        <source>%1 did not do its work: it has no TABLE=KEY before its markers</source>
        <translation>%1 не сделала своей работы: в ней нет ТАБЛИЦА=КЛЮЧ перед метками</translation>
    </message>
    <message>
        <source>%1: the rows could not be compared: %2</source>
        <translation>%1: строки не удалось сравнить: %2</translation>
    </message>
    <message>
        <source>the destination has no such table, so the source&apos;s rows could not arrive</source>
        <translation>в приемнике нет такой таблицы, поэтому строки источника не могли в него попасть</translation>
    </message>
    <message>
        <source>the source has no such table: nothing to move, as the run does</source>
        <translation>в источнике нет такой таблицы: переносить нечего, как и при переносе</translation>
    </message>
    <message>
        <source>neither database has such a table: skipped, as the run does</source>
        <translation>такой таблицы нет ни в одной базе: пропущена, как и при переносе</translation>
    </message>
    <message>
        <source>the destination has no such table, and the source no rows to move into it</source>
        <translation>в приемнике нет такой таблицы, а в источнике нет строк для нее</translation>
    </message>
    <message>
        <source>%1 (&quot;&amp;%2&quot;) is not compared: a later line copies the table again</source>
        <translation>%1 (&quot;&amp;%2&quot;) не сравнивается: более поздняя строка копирует таблицу снова</translation>
    </message>
    <message>
        <source>%1: no column named exactly &quot;%2&quot; on both sides, so nothing was updated</source>
        <translation>%1: нет столбца с именем ровно &quot;%2&quot; в обеих базах, поэтому ничего не обновлено</translation>
    </message>
    <message numerus="yes">
        <source>the run only empties it and the second script (SQL/Upd.sql) writes it: %1 rows now, not compared</source>
        <translation>
            <numerusform>перенос только очищает ее, а пишет в нее второй скрипт (SQL/Upd.sql): сейчас %1 строка, не сравнивается</numerusform>
            <numerusform>перенос только очищает ее, а пишет в нее второй скрипт (SQL/Upd.sql): сейчас %1 строки, не сравниваются</numerusform>
            <numerusform>перенос только очищает ее, а пишет в нее второй скрипт (SQL/Upd.sql): сейчас %1 строк, не сравниваются</numerusform>
        </translation>
    </message>
    <message>
        <source>Check: each source row that was to arrive against the destination row it became (by its own key or through the key map), every value against the one the run meant to write:</source>
        <translation>Проверка: каждая строка источника, которая должна была попасть в приемник, против строки приемника, которой она стала (по своему ключу или через таблицу ключей), каждое значение против того, которое перенос должен был записать:</translation>
    </message>
    <message>
        <source>table</source>
        <translation>таблица</translation>
    </message>
    <message>
        <source>lines</source>
        <translation>строки</translation>
    </message>
    <message>
        <source>read</source>
        <translation>прочитано</translation>
    </message>
    <message>
        <source>arrived</source>
        <translation>пришло</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>сбой</translation>
    </message>
    <message>
        <source>differing</source>
        <translation>отличаются</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>updated</source>
        <translation>обновлено</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>оставлено</translation>
    </message>
    <message>
        <source>rows now</source>
        <translation>строк сейчас</translation>
    </message>
    <message>
        <source>unexpected</source>
        <translation>лишние</translation>
    </message>
    <message>
        <source>result</source>
        <translation>итог</translation>
    </message>
    <message>
        <source>  read: source rows the copies read; failed: rows the run logged as failed; updated: rows updated in place as meant, of those with a destination row; kept: the destination&apos;s own rows that were to stay; unexpected: rows now beyond the kept and the arrived ones (below 0: kept rows gone)</source>
        <translation>  прочитано: строки источника, прочитанные копированием; сбой: строки, которые перенос записал в файл результатов как неудачные; обновлено: строки, обновленные на месте как должно, из тех, для которых есть строка приемника; оставлено: собственные строки приемника, которые должны были остаться; лишние: строки сверх оставленных и пришедших (меньше 0: оставленные строки пропали)</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>примечание: %1</translation>
    </message>
    <message>
        <source>ERROR: %1</source>
        <translation>ОШИБКА: %1</translation>
    </message>
    <message numerus="yes">
        <source>... %1 differences in all</source>
        <translation>
            <numerusform>... всего %1 отличие</numerusform>
            <numerusform>... всего %1 отличия</numerusform>
            <numerusform>... всего %1 отличий</numerusform>
        </translation>
    </message>
    <message>
        <source>the second script (SQL/Upd.sql) writes this table after the copy</source>
        <translation>второй скрипт (SQL/Upd.sql) пишет в эту таблицу после копирования</translation>
    </message>
    <message numerus="yes">
        <source>%1 source rows without a matching description are not moved, as the run does</source>
        <translation>
            <numerusform>%1 строка источника без подходящего описания не переносится, как и при переносе</numerusform>
            <numerusform>%1 строки источника без подходящего описания не переносятся, как и при переносе</numerusform>
            <numerusform>%1 строк источника без подходящего описания не переносятся, как и при переносе</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 references were meant to be -1: no new key for the source&apos;s key</source>
        <translation>
            <numerusform>%1 ссылка должна была стать -1: для ключа источника нет нового ключа</numerusform>
            <numerusform>%1 ссылки должны были стать -1: для ключа источника нет нового ключа</numerusform>
            <numerusform>%1 ссылок должны были стать -1: для ключа источника нет нового ключа</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 source rows have no destination row to update</source>
        <translation>
            <numerusform>для %1 строки источника нет строки приемника, которую обновить</numerusform>
            <numerusform>для %1 строк источника нет строки приемника, которую обновить</numerusform>
            <numerusform>для %1 строк источника нет строки приемника, которую обновить</numerusform>
        </translation>
    </message>
    <message>
        <source>Differences, by the source&apos;s key (&quot;-&gt; &quot; the destination&apos;s), and notes:</source>
        <translation>Отличия по ключу источника (&quot;-&gt; &quot; ключ приемника) и примечания:</translation>
    </message>
    <message>
        <source>Check: run-time states saved from the source against those of the rows they became (keys are the source&apos;s):</source>
        <translation>Проверка: динамические данные, сохраненные из источника, против данных строк, которыми стали их строки (ключи источника):</translation>
    </message>
    <message>
        <source>saved</source>
        <translation>сохранено</translation>
    </message>
    <message>
        <source>restored</source>
        <translation>восстановлено</translation>
    </message>
    <message>
        <source>first keys</source>
        <translation>первые ключи</translation>
    </message>
    <message>
        <source>Verdict: no difference: every row that was to arrive is there with every value the run meant to write, and every state.</source>
        <translation>Итог: отличий нет: каждая строка, которая должна была попасть в приемник, там есть со всеми значениями, которые перенос должен был записать, и все динамические данные тоже.</translation>
    </message>
    <message numerus="yes">
        <source>Verdict: %1 differences (marked above).</source>
        <translation>
            <numerusform>Итог: %1 отличие (отмечено выше).</numerusform>
            <numerusform>Итог: %1 отличия (отмечены выше).</numerusform>
            <numerusform>Итог: %1 отличий (отмечены выше).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Findings</name>
    <message numerus="yes">
        <source>%1 source rows</source>
        <translation>
            <numerusform>%1 строка источника</numerusform>
            <numerusform>%1 строки источника</numerusform>
            <numerusform>%1 строк источника</numerusform>
        </translation>
    </message>
    <message>
        <source>the table list names no table (no TABLE=KEY line): a run would copy nothing, yet run both scripts and reset the devices&apos; states</source>
        <translation>список таблиц не называет ни одной таблицы (нет строки ТАБЛИЦА=КЛЮЧ): перенос ничего не скопировал бы, но выполнил бы оба скрипта и сбросил бы состояния устройств</translation>
    </message>
    <message>
        <source>the destination is in read-only mode: every write would fail (gfix -mode read_write makes it writable)</source>
        <translation>приемник в режиме только для чтения: любая запись не удалась бы (gfix -mode read_write разрешает запись)</translation>
    </message>
    <message>
        <source>neither database has this table: the events section skips it</source>
        <translation>этой таблицы нет ни в одной базе: раздел событий ее пропускает</translation>
    </message>
    <message>
        <source>the source has no such table: the events section skips it</source>
        <translation>в источнике нет такой таблицы: раздел событий ее пропускает</translation>
    </message>
    <message>
        <source>copied by the events section, below</source>
        <translation>копируется разделом событий, ниже</translation>
    </message>
    <message>
        <source>copied only by the events section, which this run leaves out</source>
        <translation>копируется только разделом событий, а этот перенос события не переносит</translation>
    </message>
    <message>
        <source>the table is never emptied: the extra clearing deletes nothing</source>
        <translation>эта таблица никогда не очищается: дополнительная очистка ничего не удаляет</translation>
    </message>
    <message>
        <source>HS_PORT is set to 1 for every host</source>
        <translation>HS_PORT получает 1 для каждого хоста</translation>
    </message>
    <message>
        <source>OW_PHOTO is written empty: the photos come through OWNERPHOTOS</source>
        <translation>OW_PHOTO записывается пустым: фото переносятся через OWNERPHOTOS</translation>
    </message>
    <message>
        <source>blanks around the table name: it no longer matches the tables the transfer treats apart</source>
        <translation>пробелы вокруг имени таблицы: оно больше не совпадает с таблицами, которые перенос обрабатывает особо</translation>
    </message>
    <message>
        <source>the line cannot be parsed: it has no TABLE=KEY before its markers</source>
        <translation>строку не удается разобрать: в ней нет ТАБЛИЦА=КЛЮЧ перед метками</translation>
    </message>
    <message>
        <source>too few columns both sides have for the update in place: no row would be written</source>
        <translation>слишком мало общих столбцов для обновления на месте: ни одна строка не была бы записана</translation>
    </message>
    <message>
        <source>no column both sides have: every row would fail</source>
        <translation>нет ни одного общего столбца: ни одна строка не добавилась бы</translation>
    </message>
    <message>
        <source>the destination has no such table: %1 could not arrive</source>
        <translation>в приемнике нет такой таблицы, не попадут в него: %1</translation>
    </message>
    <message>
        <source>the destination has no such table, and the source has no rows for it to move: the events section skips it</source>
        <translation>в приемнике нет такой таблицы, а в источнике нет ее строк для переноса: раздел событий ее пропускает</translation>
    </message>
    <message>
        <source>%1 bring keys the destination already holds and does not delete first: those rows will fail</source>
        <translation>с ключами, которые в приемнике уже есть и заранее не удаляются: %1; эти строки не добавятся</translation>
    </message>
    <message>
        <source>%1 bring keys the destination already holds and does not delete first, with no unique key on them: those rows will be there twice</source>
        <translation>с ключами, которые в приемнике уже есть и заранее не удаляются, а уникального ключа на них нет: %1; эти строки окажутся там дважды</translation>
    </message>
    <message>
        <source>every row of ZONES goes with the readers (%1 now)</source>
        <translation>все строки ZONES удаляются вместе со считывателями (сейчас %1)</translation>
    </message>
    <message>
        <source>the destination&apos;s rows with the same %1 are updated; no row is added</source>
        <translation>обновляются строки приемника с тем же %1; строки не добавляются</translation>
    </message>
    <message>
        <source>%1 is left to the destination, which gives every row a new key</source>
        <translation>%1 задает приемник, который дает каждой строке новый ключ</translation>
    </message>
    <message>
        <source>the destination&apos;s rows whose %1 equals a source row&apos;s get its %2; keys are not mapped</source>
        <translation>строки приемника, у которых %1 равен ключу строки источника, получают ее %2; ключи не сопоставляются</translation>
    </message>
    <message>
        <source>the first column both sides have is %1, not the key %2</source>
        <translation>первый общий столбец - %1, а не ключ %2</translation>
    </message>
    <message>
        <source>%1 is not copied above this line: references to it become -1</source>
        <translation>%1 не копируется выше этой строки: ссылки на нее станут -1</translation>
    </message>
    <message>
        <source>%1 is not copied above this line: macro lines naming it get -1</source>
        <translation>%1 не копируется выше этой строки: строки макросов со ссылками на нее получат -1</translation>
    </message>
    <message>
        <source>no column named exactly &quot;%1&quot; on both sides: nothing is updated</source>
        <translation>нет столбца с именем ровно &quot;%1&quot; в обеих базах: ничего не обновляется</translation>
    </message>
    <message>
        <source>the destination cannot delete these rows: %1</source>
        <translation>приемник не может удалить эти строки: %1</translation>
    </message>
    <message>
        <source>the destination: %1</source>
        <translation>приемник: %1</translation>
    </message>
    <message>
        <source>the source: %1</source>
        <translation>источник: %1</translation>
    </message>
    <message>
        <source>the column update: %1</source>
        <translation>обновление столбца: %1</translation>
    </message>
    <message>
        <source>the insert has no value %1 to rewrite a reference in: every row would fail</source>
        <translation>во вставке нет значения %1, в котором заменить ссылку: ни одна строка не добавилась бы</translation>
    </message>
    <message>
        <source>the source rows have no %1: every row would fail</source>
        <translation>в строках источника нет %1: ни одна строка не добавилась бы</translation>
    </message>
    <message>
        <source>cannot be foreseen: %1</source>
        <translation>предсказать нельзя: %1</translation>
    </message>
    <message>
        <source>not in the table list: the destination&apos;s own rows</source>
        <translation>нет в списке таблиц: собственные строки приемника</translation>
    </message>
    <message>
        <source>the destination&apos;s own rows, never emptied</source>
        <translation>собственные строки приемника, таблица не очищается</translation>
    </message>
    <message>
        <source>the destination&apos;s rows that stay</source>
        <translation>строки приемника, которые остаются</translation>
    </message>
    <message>
        <source>new keys after %1&apos;s present %2</source>
        <translation>новые ключи после нынешнего значения %1, %2</translation>
    </message>
    <message>
        <source>the source rows&apos; values</source>
        <translation>значения строк источника</translation>
    </message>
    <message>
        <source>the table is emptied</source>
        <translation>таблица очищается</translation>
    </message>
    <message>
        <source>the run would end at this entry, before the states are restored: %1</source>
        <translation>перенос закончился бы на этой строке, до восстановления динамических данных: %1</translation>
    </message>
    <message>
        <source>setting the generator would fail: %1</source>
        <translation>установить генератор не удалось бы: %1</translation>
    </message>
</context>
<context>
    <name>Guards</name>
    <message>
        <source>events section, %1</source>
        <translation>раздел событий, %1</translation>
    </message>
    <message>
        <source>line %1 (%2)</source>
        <translation>строка %1 (%2)</translation>
    </message>
    <message>
        <source>[--force does not run over this]</source>
        <translation>[--force этого не обходит]</translation>
    </message>
    <message>
        <source>source</source>
        <translation>источник</translation>
    </message>
    <message>
        <source>destination</source>
        <translation>приемник</translation>
    </message>
    <message>
        <source>the backup file would be renamed over the source database %1</source>
        <translation>файл резервной копии заменил бы собой базу - источник %1</translation>
    </message>
    <message>
        <source>the backup file would be renamed over the destination database %1</source>
        <translation>файл резервной копии заменил бы собой базу - приемник %1</translation>
    </message>
    <message>
        <source>the backup file %1 would overwrite the table list</source>
        <translation>файл резервной копии %1 затер бы список таблиц</translation>
    </message>
    <message>
        <source>the backup file %1 would overwrite the generator list</source>
        <translation>файл резервной копии %1 затер бы список генераторов</translation>
    </message>
    <message>
        <source>the backup file %1 would overwrite a script of the run</source>
        <translation>файл резервной копии %1 затер бы скрипт переноса</translation>
    </message>
    <message>
        <source>the backup file %1 would overwrite the run log</source>
        <translation>файл резервной копии %1 затер бы файл результатов</translation>
    </message>
    <message>
        <source>the backup file %1 would overwrite a program (a file that may be executed)</source>
        <translation>файл резервной копии %1 затер бы программу (исполняемый файл)</translation>
    </message>
    <message>
        <source>the folder %1 of the backup file cannot be written: %2</source>
        <translation>в папку %1 файла резервной копии нельзя записать: %2</translation>
    </message>
    <message>
        <source>generator list line %1 (%2)</source>
        <translation>строка %1 списка генераторов (%2)</translation>
    </message>
    <message>
        <source>the destination %1 was not restored and is as it was.</source>
        <translation>приемник %1 не восстановлен и остался прежним.</translation>
    </message>
    <message>
        <source>the destination %1 already holds the backup&apos;s data; the failure came after it was put in place.</source>
        <translation>приемник %1 уже содержит данные резервной копии; сбой произошел после того, как она встала на его место.</translation>
    </message>
    <message>
        <source>the server had begun to replace the destination %1: it may be gone, or hold only part of the backup.
The whole backup is restored on that server as %2.
To put it back, run the restore again once the cause is mended:
  %3
or, on the server, with no one attached to either file:
  %4</source>
        <translation>сервер уже начал заменять приемник %1: его может не быть или он содержит лишь часть резервной копии.
Вся резервная копия восстановлена на том же сервере как %2.
Чтобы вернуть приемник, устраните причину и повторите восстановление:
  %3
или на сервере, когда к обоим файлам никто не подключен:
  %4</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Usage: db-dravik --source DB --dest DB [OPTION]...
  or:  db-dravik --restore FILE --dest DB [--yes] [--quiet]</source>
        <translation>Запуск: db-dravik --source БД --dest БД [ПАРАМЕТР]...
  или:  db-dravik --restore ФАЙЛ --dest БД [--yes] [--quiet]</translation>
    </message>
    <message>
        <source>Moves the configuration of an access-control installation from the source database into the destination, as the window DB_Dravik does, without a window. A database is a file path (opened by the embedded engine) or host:/path or host/port:/path (a Firebird server).</source>
        <translation>Переносит конфигурацию системы контроля доступа из базы - источника в базу - приемник так же, как окно DB_Dravik, но без окна. База данных - это путь к файлу (его открывает встроенный движок) или хост:/путь или хост/порт:/путь (сервер Firebird).</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Параметры:</translation>
    </message>
    <message>
        <source>the source database</source>
        <translation>база - источник данных</translation>
    </message>
    <message>
        <source>the destination database; its listed tables are emptied and refilled</source>
        <translation>база - приемник данных; таблицы из списка в ней очищаются и заполняются заново</translation>
    </message>
    <message>
        <source>the program folder: Conv.txt, GENERATOR.txt, SQL/_Upd.sql and SQL/Upd.sql are read there and the run log DB_dravik.log is written there (default: the window&apos;s, which is the folder of this command when it holds Conv.txt; for an installed program it is ~/.local/share/db-dravik, made from the samples on first start)</source>
        <translation>папка программы: там читаются Conv.txt, GENERATOR.txt, SQL/_Upd.sql и SQL/Upd.sql и пишется файл результатов DB_dravik.log (по умолчанию папка окна: папка этой команды, если в ней есть Conv.txt; для установленной программы ~/.local/share/db-dravik, создаваемая из образцов при первом запуске)</translation>
    </message>
    <message>
        <source>move the events and alarms, all of them</source>
        <translation>переносить события и тревоги, все</translation>
    </message>
    <message>
        <source>move the events and alarms from that day on</source>
        <translation>переносить события и тревоги начиная с этого дня</translation>
    </message>
    <message>
        <source>keep where the users are (slow)</source>
        <translation>сохранять местоположение пользователей (долго!)</translation>
    </message>
    <message>
        <source>before anything is written, save the destination into FILE with the engine&apos;s own backup (gbak); a backup that fails stops the command with nothing written. FILE is a file of this machine, also for a destination on a server</source>
        <translation>до любой записи сохранить приемник в ФАЙЛ собственным резервным копированием движка (gbak); если копия не удалась, команда останавливается, ничего не записав. ФАЙЛ находится на этом компьютере, даже если приемник на сервере</translation>
    </message>
    <message>
        <source>put the destination back from a backup made with --backup, replacing it; the backup is restored beside the destination first, so a backup that is not whole leaves the destination as it was</source>
        <translation>вернуть приемник из резервной копии, сделанной с --backup, заменив его; копия сначала восстанавливается рядом с приемником, поэтому неполная копия оставляет приемник прежним</translation>
    </message>
    <message>
        <source>restore without asking (a restore off a terminal needs it)</source>
        <translation>восстанавливать без вопроса (без терминала восстановление требует этого)</translation>
    </message>
    <message>
        <source>print what a run would delete and copy, and stop; nothing is written, the run log is left as it is. A run makes this plan first and does not start when it names an error</source>
        <translation>показать, что перенос удалил бы и скопировал, и остановиться; ничего не записывается, файл результатов остается как есть. Перенос сначала составляет этот план и не начинается, если план называет ошибку</translation>
    </message>
    <message>
        <source>run even though the plan names errors (the lines it names then do not do their work, and the exit code is at least 1). It never runs over a table list that names no table, a destination that cannot be written, or a --backup FILE that would overwrite a database, a control file, a script, the run log or a program</source>
        <translation>выполнить перенос, хотя план называет ошибки (названные строки тогда не делают своей работы, а код завершения не меньше 1). Никогда не обходит список таблиц без таблиц, приемник, в который нельзя писать, и --backup ФАЙЛ, который затер бы базу данных, управляющий файл, скрипт, файл результатов или программу</translation>
    </message>
    <message>
        <source>print only the summary</source>
        <translation>выводить только итог</translation>
    </message>
    <message>
        <source>print this help</source>
        <translation>показать эту справку</translation>
    </message>
    <message>
        <source>print the version</source>
        <translation>показать версию</translation>
    </message>
    <message>
        <source>Progress goes to standard output: one line redrawn in place on a terminal, otherwise one line per table. Errors go to standard error. Ctrl-C, SIGTERM or SIGHUP stops the run between rows. Texts are Russian under a Russian locale (LC_ALL, LC_MESSAGES or LANG), English otherwise.</source>
        <translation>Ход работы выводится в стандартный вывод: на терминале одной строкой, которая перерисовывается на месте, иначе строкой на каждую таблицу. Ошибки выводятся в стандартный поток ошибок. Ctrl-C, SIGTERM или SIGHUP останавливают перенос между строками. Тексты русские при русской локали (LC_ALL, LC_MESSAGES или LANG), иначе английские.</translation>
    </message>
    <message>
        <source>Exit codes:</source>
        <translation>Коды завершения:</translation>
    </message>
    <message>
        <source>everything copied and every statement worked (and the check, if asked for, found no difference)</source>
        <translation>все скопировано и все команды выполнены (и проверка, если ее просили, не нашла различий)</translation>
    </message>
    <message>
        <source>the run ended, but statements failed (the run log has them), an error ended it early, the check found a difference, or --force ran it over errors of its plan; a restore that failed once the server had begun to replace the destination (the message says where the data is)</source>
        <translation>перенос завершен, но команды не выполнились (они в файле результатов), ошибка прервала его раньше времени, проверка нашла различие или --force выполнил его несмотря на ошибки плана; восстановление, которое не удалось, когда сервер уже начал заменять приемник (сообщение говорит, где данные)</translation>
    </message>
    <message>
        <source>it did not start: bad arguments, a missing control file, a database that cannot be opened (the message says which), the source equal to the destination, a plan that names errors, or a backup that failed; the message goes to standard error, nothing is written to either database and the run log is left as it was (a restore that was refused, or failed with the destination as it was, ends with 2 too)</source>
        <translation>не начат: неверные параметры, нет управляющего файла, база данных не открывается (сообщение говорит, какая), источник совпадает с приемником, план называет ошибки или не удалась резервная копия; сообщение выводится в стандартный поток ошибок, ни в одну базу ничего не записано, файл результатов остался прежним (отклоненное восстановление или не удавшееся с прежним приемником тоже завершается с 2)</translation>
    </message>
    <message>
        <source>interrupted; what was written stays</source>
        <translation>прерван; записанное остается</translation>
    </message>
    <message>
        <source>DB</source>
        <translation>БД</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>ФАЙЛ</translation>
    </message>
    <message>
        <source>DIR</source>
        <translation>ПАПКА</translation>
    </message>
    <message>
        <source>DD.MM.YYYY</source>
        <translation>ДД.ММ.ГГГГ</translation>
    </message>
    <message>
        <source>after the run, compare every row and value that was to arrive with what the destination holds, and the states</source>
        <translation>после переноса сравнить каждую строку и каждое значение, которые должны были попасть в приемник, с тем, что в нем есть, и динамические данные</translation>
    </message>
</context>
<context>
    <name>Interrupt</name>
    <message>
        <source>db-dravik: interrupted, the run stops at its next row or step</source>
        <translation>db-dravik: прервано, перенос остановится на следующей строке или шаге</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>db-dravik: the program folder %1 could not be made: %2</source>
        <translation>db-dravik: не удалось создать папку программы %1: %2</translation>
    </message>
    <message>
        <source>Try db-dravik --help.</source>
        <translation>Справка: db-dravik --help.</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>unexpected argument: %1</source>
        <translation>лишний аргумент: %1</translation>
    </message>
    <message>
        <source>%1 is given more than once</source>
        <translation>%1 указан больше одного раза</translation>
    </message>
    <message>
        <source>--restore puts the destination back and does nothing else; %1 does not go with it</source>
        <translation>--restore только возвращает приемник и ничего больше не делает; %1 с ним не сочетается</translation>
    </message>
    <message>
        <source>--restore needs --dest, the database to put back</source>
        <translation>--restore нужен --dest, база, которую надо вернуть</translation>
    </message>
    <message>
        <source>--restore needs the name of the backup file</source>
        <translation>--restore нужно имя файла резервной копии</translation>
    </message>
    <message>
        <source>--yes answers the question of --restore and goes only with it</source>
        <translation>--yes отвечает на вопрос --restore и указывается только с ним</translation>
    </message>
    <message>
        <source>both --source and --dest are needed</source>
        <translation>нужны оба параметра, --source и --dest</translation>
    </message>
    <message>
        <source>--events and --events-from exclude each other</source>
        <translation>--events и --events-from исключают друг друга</translation>
    </message>
    <message>
        <source>--events-from takes a day as DD.MM.YYYY, not &quot;%1&quot;</source>
        <translation>--events-from принимает день в виде ДД.ММ.ГГГГ, а не &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--plan writes nothing, so there is no run for --check to check</source>
        <translation>--plan ничего не записывает, и --check нечего проверять</translation>
    </message>
    <message>
        <source>--plan only tells what a run would do; --force goes with the run</source>
        <translation>--plan только показывает, что сделал бы перенос; --force указывается с переносом</translation>
    </message>
    <message>
        <source>--backup needs the name of the file to save the destination into</source>
        <translation>--backup нужно имя файла, в который сохранить приемник</translation>
    </message>
</context>
<context>
    <name>Plan</name>
    <message numerus="yes">
        <source>%1 rows</source>
        <translation>
            <numerusform>%1 строка</numerusform>
            <numerusform>%1 строки</numerusform>
            <numerusform>%1 строк</numerusform>
        </translation>
    </message>
    <message>
        <source>map %1</source>
        <translation>пара %1</translation>
    </message>
    <message>
        <source>skipped</source>
        <translation>пропуск</translation>
    </message>
    <message>
        <source>comment</source>
        <translation>комментарий</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>ничего</translation>
    </message>
    <message>
        <source>broken</source>
        <translation>ошибка</translation>
    </message>
    <message>
        <source>copy</source>
        <translation>копия</translation>
    </message>
    <message>
        <source>update rows</source>
        <translation>обновить строки</translation>
    </message>
    <message>
        <source>update column</source>
        <translation>обновить столбец</translation>
    </message>
    <message>
        <source>clear</source>
        <translation>очистка</translation>
    </message>
    <message>
        <source>macros</source>
        <translation>макросы</translation>
    </message>
    <message>
        <source>events only</source>
        <translation>только события</translation>
    </message>
    <message>
        <source>new (%1)</source>
        <translation>новые (%1)</translation>
    </message>
    <message>
        <source>kept (%1)</source>
        <translation>прежние (%1)</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>прежние</translation>
    </message>
    <message>
        <source>ev</source>
        <comment>the events section in the table of lines</comment>
        <translation>соб</translation>
    </message>
    <message>
        <source>    reference: %1 -&gt; %2</source>
        <translation>    ссылка: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>    reference: %1 by type: %2</source>
        <translation>    ссылка: %1 по типу: %2</translation>
    </message>
    <message>
        <source>ERROR: %1</source>
        <translation>ОШИБКА: %1</translation>
    </message>
    <message>
        <source>WARNING: %1</source>
        <translation>ПРЕДУПРЕЖДЕНИЕ: %1</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>примечание: %1</translation>
    </message>
    <message>
        <source>  events section: %1</source>
        <translation>  раздел событий: %1</translation>
    </message>
    <message>
        <source>  line %1: %2</source>
        <translation>  строка %1: %2</translation>
    </message>
    <message>
        <source>    deletes in the destination: %1 (every row)</source>
        <translation>    удаляет в приемнике: %1 (все строки)</translation>
    </message>
    <message>
        <source>    deletes in the destination: %1 where %2</source>
        <translation>    удаляет в приемнике: %1, где %2</translation>
    </message>
    <message>
        <source>    reads from the source: %1</source>
        <translation>    читает из источника: %1</translation>
    </message>
    <message>
        <source>    reads from the source: %1 (%2)</source>
        <translation>    читает из источника: %1 (%2)</translation>
    </message>
    <message>
        <source>    keys: %1</source>
        <translation>    ключи: %1</translation>
    </message>
    <message>
        <source>    the destination then holds %1</source>
        <translation>    в приемнике затем: %1</translation>
    </message>
    <message>
        <source>    columns copied (%1): %2</source>
        <translation>    копируемые столбцы (%1): %2</translation>
    </message>
    <message>
        <source>    only in the source, dropped: %1</source>
        <translation>    есть только в источнике, не переносятся: %1</translation>
    </message>
    <message>
        <source>    only in the destination, left to their defaults: %1</source>
        <translation>    есть только в приемнике, получают значения по умолчанию: %1</translation>
    </message>
    <message>
        <source>Table list (Conv.txt), then the events section (ev):</source>
        <translation>Список таблиц (Conv.txt), затем раздел событий (соб):</translation>
    </message>
    <message>
        <source>line</source>
        <translation>строка</translation>
    </message>
    <message>
        <source>table</source>
        <translation>таблица</translation>
    </message>
    <message>
        <source>markers</source>
        <translation>метки</translation>
    </message>
    <message>
        <source>action</source>
        <translation>действие</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>удаляется</translation>
    </message>
    <message>
        <source>source rows</source>
        <translation>из источника</translation>
    </message>
    <message>
        <source>keys</source>
        <translation>ключи</translation>
    </message>
    <message>
        <source>rows after</source>
        <translation>строк после</translation>
    </message>
    <message>
        <source>references</source>
        <translation>ссылки</translation>
    </message>
    <message>
        <source>  deleted: the destination&apos;s own rows of the table that the line&apos;s deletions take (rows a foreign key takes with an earlier deletion count there too); source rows: the rows the line copies or updates from; rows after: what the table then holds</source>
        <translation>  удаляется: собственные строки таблицы в приемнике, которые удаляет строка списка (строки, удаляемые внешним ключом вместе с более ранним удалением, тоже считаются там); из источника: строки, которые строка списка копирует или по которым обновляет; строк после: сколько строк затем в таблице</translation>
    </message>
    <message>
        <source>What each line does:</source>
        <translation>Что делает каждая строка:</translation>
    </message>
    <message>
        <source>Generators (GENERATOR.txt): each is set to 1 + the largest value its column would hold if every source row arrived (0 for an empty table); new keys are counted on from the generator&apos;s present value, which a first script that resets it changes:</source>
        <translation>Генераторы (GENERATOR.txt): каждый получает 1 + наибольшее значение своего столбца, если бы пришли все строки источника (0 для пустой таблицы); новые ключи отсчитываются от нынешнего значения генератора, которое меняет первый скрипт, если сбрасывает его:</translation>
    </message>
    <message>
        <source>generator</source>
        <translation>генератор</translation>
    </message>
    <message>
        <source>table/column</source>
        <translation>таблица/столбец</translation>
    </message>
    <message>
        <source>value</source>
        <translation>значение</translation>
    </message>
    <message>
        <source>worked out from</source>
        <translation>откуда</translation>
    </message>
    <message>
        <source>Scripts:</source>
        <translation>Скрипты:</translation>
    </message>
    <message>
        <source>%1 (before the tables are emptied): </source>
        <translation>%1 (до очистки таблиц): </translation>
    </message>
    <message>
        <source>%1 (after the copy): </source>
        <translation>%1 (после копирования): </translation>
    </message>
    <message>
        <source>, a one-second pause after each block</source>
        <translation>, пауза в одну секунду после каждого блока</translation>
    </message>
    <message numerus="yes">
        <source>%1 lines</source>
        <translation>
            <numerusform>%1 строка</numerusform>
            <numerusform>%1 строки</numerusform>
            <numerusform>%1 строк</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 table copies</source>
        <translation>
            <numerusform>%1 копия таблицы</numerusform>
            <numerusform>%1 копии таблиц</numerusform>
            <numerusform>%1 копий таблиц</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 destination rows deleted</source>
        <translation>
            <numerusform>%1 строка приемника удаляется</numerusform>
            <numerusform>%1 строки приемника удаляются</numerusform>
            <numerusform>%1 строк приемника удаляется</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 source rows read</source>
        <translation>
            <numerusform>%1 строка источника читается</numerusform>
            <numerusform>%1 строки источника читаются</numerusform>
            <numerusform>%1 строк источника читается</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 generators</source>
        <translation>
            <numerusform>%1 генератор</numerusform>
            <numerusform>%1 генератора</numerusform>
            <numerusform>%1 генераторов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 warnings</source>
        <translation>
            <numerusform>%1 предупреждение</numerusform>
            <numerusform>%1 предупреждения</numerusform>
            <numerusform>%1 предупреждений</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 errors</source>
        <translation>
            <numerusform>%1 ошибка</numerusform>
            <numerusform>%1 ошибки</numerusform>
            <numerusform>%1 ошибок</numerusform>
        </translation>
    </message>
    <message>
        <source>Totals: %1</source>
        <translation>Итого: %1</translation>
    </message>
    <message>
        <source>The plan names errors (marked ERROR above): a run does not start, not even with --force.</source>
        <translation>План называет ошибки (выше они отмечены словом ОШИБКА): перенос не начнется, даже с --force.</translation>
    </message>
    <message>
        <source>The plan names errors (marked ERROR above): a run does not start; with --force it runs, and those lines do not do their work.</source>
        <translation>План называет ошибки (выше они отмечены словом ОШИБКА): перенос не начнется; с --force он выполнится, а эти строки не сделают своей работы.</translation>
    </message>
    <message>
        <source>source:</source>
        <translation>источник:</translation>
    </message>
    <message>
        <source>destination:</source>
        <translation>приемник:</translation>
    </message>
    <message>
        <source>folder:</source>
        <translation>папка:</translation>
    </message>
    <message>
        <source>events:</source>
        <translation>события:</translation>
    </message>
    <message>
        <source>not moved</source>
        <translation>не переносятся</translation>
    </message>
    <message>
        <source>all</source>
        <translation>все</translation>
    </message>
    <message>
        <source>from %1</source>
        <translation>с %1</translation>
    </message>
    <message>
        <source>locations:</source>
        <translation>местоположение:</translation>
    </message>
    <message>
        <source>not kept</source>
        <translation>не сохраняется</translation>
    </message>
    <message>
        <source>dest size:</source>
        <translation>размер приемника:</translation>
    </message>
    <message>
        <source>unknown: %1</source>
        <translation>неизвестен: %1</translation>
    </message>
    <message>
        <source>backup:</source>
        <translation>резервная копия:</translation>
    </message>
    <message>
        <source>none (--backup FILE saves the destination before the run)</source>
        <translation>нет (--backup ФАЙЛ сохраняет приемник перед переносом)</translation>
    </message>
    <message>
        <source>the destination is saved into %1 before the first script</source>
        <translation>приемник сохраняется в %1 перед первым скриптом</translation>
    </message>
    <message>
        <source>owner photos:</source>
        <translation>фото владельцев:</translation>
    </message>
    <message>
        <source>source in %1, destination in %2</source>
        <translation>источник в %1, приемник в %2</translation>
    </message>
    <message>
        <source>Plan of a transfer: nothing has been written to either database, and the run log is left as it was.</source>
        <translation>План переноса данных: ни в одну базу ничего не записано, файл результатов остался прежним.</translation>
    </message>
    <message numerus="yes">
        <source>%1 statements</source>
        <translation>
            <numerusform>%1 команда</numerusform>
            <numerusform>%1 команды</numerusform>
            <numerusform>%1 команд</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 in %2 blocks of the log</source>
        <translation>
            <numerusform>%1 в %2 блоке файла результатов</numerusform>
            <numerusform>%1 в %2 блоках файла результатов</numerusform>
            <numerusform>%1 в %2 блоках файла результатов</numerusform>
        </translation>
    </message>
    <message>
        <source>reader keys in the USERS_RD_RIGHTS texts</source>
        <translation>ключи считывателей в текстах USERS_RD_RIGHTS</translation>
    </message>
    <message>
        <source>device keys in the macro lines</source>
        <translation>ключи устройств в строках макросов</translation>
    </message>
    <message>
        <source>where %1</source>
        <translation>где %1</translation>
    </message>
    <message>
        <source>the photos of the source&apos;s owners (OWNER.OW_PHOTO)</source>
        <translation>фото владельцев источника (OWNER.OW_PHOTO)</translation>
    </message>
    <message>
        <source>every row</source>
        <translation>все строки</translation>
    </message>
    <message>
        <source>every row, with a matching description</source>
        <translation>все строки, у которых есть подходящее описание</translation>
    </message>
    <message>
        <source>from %1, with a matching description</source>
        <translation>с %1, у которых есть подходящее описание</translation>
    </message>
    <message>
        <source>without the sections USER_CAN_FILTER, USER_FILTERS, CTRL_FILTERS</source>
        <translation>без разделов USER_CAN_FILTER, USER_FILTERS, CTRL_FILTERS</translation>
    </message>
    <message>
        <source>    not moved: %1 no description matches (their code and additional code)</source>
        <translation>    не переносятся: %1 без подходящего описания (по коду и дополнительному коду)</translation>
    </message>
    <message>
        <source>Events and alarms not moved, for no description matches their codes: %1</source>
        <translation>Событий и тревог не переносится, так как их кодам не подходит ни одно описание: %1</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message numerus="yes">
        <source>%1: %2 rows in %3 s</source>
        <translation>
            <numerusform>%1: %2 строка за %3 с</numerusform>
            <numerusform>%1: %2 строки за %3 с</numerusform>
            <numerusform>%1: %2 строк за %3 с</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2 in %3 s</source>
        <translation>%1: %2 за %3 с</translation>
    </message>
    <message>
        <source>%1: %2 s</source>
        <translation>%1: %2 с</translation>
    </message>
    <message>
        <source>  %1/%2 rows  %3 rows/s  %4 gone  %5 left</source>
        <translation>  %1/%2 строк  %3 строк/с  прошло %4  осталось %5</translation>
    </message>
    <message>
        <source>  %1  %2 gone</source>
        <translation>  %1  прошло %2</translation>
    </message>
    <message>
        <source>  %1 gone</source>
        <translation>  прошло %1</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>db-dravik: %1. Nothing was written. [--force does not run over this]</source>
        <translation>db-dravik: %1. Ничего не записано. [--force этого не обходит]</translation>
    </message>
    <message>
        <source>db-dravik: the script %1 cannot be read: %2</source>
        <translation>db-dravik: не удается прочитать скрипт %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>db-dravik: the run was not started: its plan names %1 errors, and nothing was written.</source>
        <translation>
            <numerusform>db-dravik: перенос не начат: его план называет %1 ошибку, ничего не записано.</numerusform>
            <numerusform>db-dravik: перенос не начат: его план называет %1 ошибки, ничего не записано.</numerusform>
            <numerusform>db-dravik: перенос не начат: его план называет %1 ошибок, ничего не записано.</numerusform>
        </translation>
    </message>
    <message>
        <source>db-dravik ... --plan shows the whole plan; --force runs over these errors.</source>
        <translation>db-dravik ... --plan показывает весь план; --force выполняет перенос несмотря на эти ошибки.</translation>
    </message>
    <message>
        <source>db-dravik ... --plan shows the whole plan.</source>
        <translation>db-dravik ... --plan показывает весь план.</translation>
    </message>
    <message>
        <source>db-dravik: the backup of the destination failed, so nothing was written.</source>
        <translation>db-dravik: резервная копия приемника не удалась, поэтому ничего не записано.</translation>
    </message>
    <message>
        <source>db-dravik: the database client cannot be kept from closing the connections on Ctrl-C; an interrupt may end the run with an error</source>
        <translation>db-dravik: нельзя запретить клиенту базы данных закрывать соединения по Ctrl-C; прерывание может завершить перенос ошибкой</translation>
    </message>
    <message>
        <source>Interrupted after the backup, before the run: nothing was written.</source>
        <translation>Прервано после резервного копирования, до переноса: ничего не записано.</translation>
    </message>
    <message>
        <source>Backup: %1, %2</source>
        <translation>Резервная копия: %1, %2</translation>
    </message>
    <message>
        <source>db-dravik: the check could not read the databases: %1</source>
        <translation>db-dravik: проверка не смогла прочитать базы данных: %1</translation>
    </message>
</context>
<context>
    <name>Sizes</name>
    <message>
        <source>%1 MB</source>
        <translation>%1 МБ</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%2 bytes)</source>
        <translation>
            <numerusform>%1 (%2 байт)</numerusform>
            <numerusform>%1 (%2 байта)</numerusform>
            <numerusform>%1 (%2 байт)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Summary</name>
    <message>
        <source>not made, the run did not reach its end</source>
        <translation>не выполнена, перенос не дошел до конца</translation>
    </message>
    <message>
        <source>no difference</source>
        <translation>отличий нет</translation>
    </message>
    <message numerus="yes">
        <source>%1 differences</source>
        <translation>
            <numerusform>%1 отличие</numerusform>
            <numerusform>%1 отличия</numerusform>
            <numerusform>%1 отличий</numerusform>
        </translation>
    </message>
    <message>
        <source>Interrupted in or after %1 (step %2 of %3): what was written stays.</source>
        <translation>Прервано в таблице %1 или после нее (шаг %2 из %3): записанное остается.</translation>
    </message>
    <message numerus="yes">
        <source>Rows copied: %1 of %2 read</source>
        <translation>
            <numerusform>Скопировано строк: %1 из %2 прочитанной</numerusform>
            <numerusform>Скопировано строк: %1 из %2 прочитанных</numerusform>
            <numerusform>Скопировано строк: %1 из %2 прочитанных</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> (%1 events and alarms not read: no description matches their codes)</source>
        <translation>
            <numerusform> (не прочитано %1 событие или тревога: их кодам не подходит ни одно описание)</numerusform>
            <numerusform> (не прочитано %1 события и тревоги: их кодам не подходит ни одно описание)</numerusform>
            <numerusform> (не прочитано %1 событий и тревог: их кодам не подходит ни одно описание)</numerusform>
        </translation>
    </message>
    <message>
        <source>%1; failed statements: %2</source>
        <translation>%1; неудачных команд: %2</translation>
    </message>
    <message numerus="yes">
        <source>Plan: %1 errors, run over with --force: those lines did not do their work</source>
        <translation>
            <numerusform>План: %1 ошибка, перенос выполнен с --force: эти строки не сделали своей работы</numerusform>
            <numerusform>План: %1 ошибки, перенос выполнен с --force: эти строки не сделали своей работы</numerusform>
            <numerusform>План: %1 ошибок, перенос выполнен с --force: эти строки не сделали своей работы</numerusform>
        </translation>
    </message>
    <message>
        <source>Check: %1</source>
        <translation>Проверка: %1</translation>
    </message>
    <message>
        <source>Time: %1 s, the check %2 s more</source>
        <translation>Время: %1 с, проверка еще %2 с</translation>
    </message>
    <message>
        <source>Time: %1 s</source>
        <translation>Время: %1 с</translation>
    </message>
    <message>
        <source>Backup: %1, %2; this puts the destination back:
  %3</source>
        <translation>Резервная копия: %1, %2; так можно вернуть приемник:
  %3</translation>
    </message>
    <message>
        <source>Run log: %1</source>
        <translation>Файл результатов: %1</translation>
    </message>
</context>
<context>
    <name>WayBack</name>
    <message>
        <source>db-dravik: the database %1 is replaced by the backup %2; what it holds now is lost.
Restore it? [y/N] </source>
        <translation>db-dravik: база данных %1 будет заменена резервной копией %2; то, что в ней сейчас, пропадет.
Восстановить ее? [д/Н] </translation>
    </message>
    <message>
        <source>backup of the destination into %1</source>
        <translation>резервная копия приемника в %1</translation>
    </message>
    <message>
        <source>db-dravik: --restore replaces the destination; off a terminal it needs --yes. Nothing was restored.</source>
        <translation>db-dravik: --restore заменяет приемник; без терминала нужен --yes. Ничего не восстановлено.</translation>
    </message>
    <message>
        <source>db-dravik: nothing was restored.</source>
        <translation>db-dravik: ничего не восстановлено.</translation>
    </message>
    <message>
        <source>restore of the destination from %1</source>
        <translation>восстановление приемника из %1</translation>
    </message>
    <message>
        <source>Restored %1 from the backup %2, %3 read in %4 s.</source>
        <translation>База %1 восстановлена из резервной копии %2, прочитано %3 за %4 с.</translation>
    </message>
    <message>
        <source>The interrupt came while the restore was under way; it has been finished.</source>
        <translation>Прерывание пришло во время восстановления; восстановление доведено до конца.</translation>
    </message>
</context>
</TS>
