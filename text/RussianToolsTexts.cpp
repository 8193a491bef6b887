// The texts of the menu "Сервис" and its dialogs; declared with the others in
// RussianTextList.inc.
#include "text/Cp1251.h"
#include "text/RussianTexts.h"

namespace ru {

#define TEXT(name, utf8)                                     \
  const std::string& name() {                                \
    static const std::string s = text::Cp1251FromUtf8(utf8); \
    return s;                                                \
  }

TEXT(MenuTools, "Сервис")
TEXT(MenuToolsBackup, "Резервная копия приемника перед переносом")
TEXT(MenuToolsRestore, "Восстановить приемник из резервной копии ...")
TEXT(MenuToolsPlan, "План переноса ...")
TEXT(MenuToolsCheck, "Проверка после переноса")
TEXT(Megabytes, "%1 МБ")
TEXT(StatusPlanning, "Составляем план переноса...")
TEXT(StatusBackingUp, "Резервная копия приемника: %1")
TEXT(BackupFailedNothingWritten,
     "Резервная копия приемника не создана, поэтому перенос данных не выполнялся: в приемник "
     "ничего не записано.\n\n%1")
TEXT(PlanErrorsQuestion,
     "План переноса называет ошибки (%1):\n\n%2\nЧасть, в которой ошибка, не выполнит свою "
     "работу.\nВыполнить перенос данных несмотря на ошибки?")
TEXT(RunRefused,
     "Перенос данных не выполнялся, в приемник ничего не записано. С такими ошибками перенос "
     "невозможен:\n\n%1")
TEXT(MoreErrors, "... и еще %1")
TEXT(SideSource, "источника")
TEXT(SideDest, "приемника")
TEXT(FindingEmptyTableList,
     "Список таблиц (Conv.txt) не называет ни одной таблицы: перенос ничего не скопировал бы, но "
     "выполнил бы оба скрипта и сбросил бы состояния устройств.")
TEXT(FindingDestinationReadOnly,
     "База - приемник в режиме только для чтения: ни одна запись в нее не удалась бы (команда "
     "gfix -mode read_write разрешает запись).")
TEXT(FindingEventTableInNeither, "Этой таблицы нет ни в одной из баз: она пропускается.")
TEXT(FindingEventTableNotInSource, "Этой таблицы нет в базе - источнике: она пропускается.")
TEXT(FindingEventTableNotInDest,
     "Этой таблицы нет в базе - приемнике: строки источника (%1) перенести некуда.")
TEXT(FindingEventTableNotInDestNoRows,
     "Этой таблицы нет в базе - приемнике, но и переносить в нее нечего: она пропускается.")
TEXT(FindingKeptKeysHeld,
     "Строки источника (%1) несут ключи, которые уже есть в приемнике и не удаляются перед "
     "копированием: эти строки не будут добавлены.")
TEXT(FindingKeptKeysTwice,
     "Строки источника (%1) несут ключи, которые уже есть в приемнике и не удаляются перед "
     "копированием; ключ не уникален, и эти строки окажутся в приемнике дважды.")
TEXT(FindingZonesGoWithReaders, "Все строки ZONES удаляются вместе со считывателями (сейчас %1).")
TEXT(FindingCopiedByEventsSection, "Копируется разделом событий, ниже.")
TEXT(FindingEventsSectionLeftOut,
     "Копируется только разделом событий, а этот перенос события не переносит.")
TEXT(FindingNeverEmptied,
     "Эта таблица никогда не очищается: дополнительная очистка ничего не удаляет.")
TEXT(FindingHostPortSetToOne, "HS_PORT получает 1 для каждого хоста.")
TEXT(FindingUpdatedInPlace, "Обновляются строки приемника с тем же %1; строки не добавляются.")
TEXT(FindingNewKeysGiven, "%1 задает приемник, который дает каждой строке новый ключ.")
TEXT(FindingOwnerPhotoEmpty, "OW_PHOTO записывается пустым: фото переносятся через OWNERPHOTOS.")
TEXT(FindingColumnUpdated,
     "Строки приемника, у которых %1 равен ключу строки источника, получают ее %2; ключи не "
     "сопоставляются.")
TEXT(FindingBlanksAroundTable,
     "Пробелы вокруг имени таблицы: оно больше не совпадает с таблицами, которые перенос "
     "обрабатывает особо.")
TEXT(FindingFirstColumnNotKey, "Первый общий столбец - %1, а не ключ %2.")
TEXT(FindingReferencedNotCopied, "%1 не копируется выше этой строки: ссылки на нее станут -1.")
TEXT(FindingMacroDevicesNotCopied,
     "%1 не копируется выше этой строки: строки макросов со ссылками на нее получат -1.")
TEXT(FindingNoColumnToUpdate,
     "Нет столбца с именем ровно \"%1\" в обеих базах: ничего не обновляется.")
TEXT(FindingLineUnparsable, "Строку не удается разобрать: в ней нет ТАБЛИЦА=КЛЮЧ перед метками.")
TEXT(FindingDestinationCannotDelete, "Приемник не может удалить эти строки: %1")
TEXT(FindingDestinationRefuses, "Приемник: %1")
TEXT(FindingSourceRefuses, "Источник: %1")
TEXT(FindingTooFewColumnsToUpdate,
     "Слишком мало общих столбцов для обновления на месте: ни одна строка не была бы записана.")
TEXT(FindingNoCommonColumn, "Нет ни одного общего столбца: ни одна строка не добавилась бы.")
TEXT(FindingColumnUpdateFails, "Обновление столбца: %1")
TEXT(FindingNoValueForReference,
     "Во вставке нет значения %1, в котором заменить ссылку: ни одна строка не добавилась бы.")
TEXT(FindingSourceLacksColumn, "В строках источника нет %1: ни одна строка не добавилась бы.")
TEXT(GeneratorRunEndsHere,
     "Перенос закончился бы на этой строке, до восстановления динамических данных: %1")
TEXT(GeneratorCannotBeSet, "Установить генератор не удалось бы: %1")
TEXT(CheckLineUnparsable, "%1 не выполнила свою работу: в ней нет ТАБЛИЦА=КЛЮЧ перед метками")
TEXT(BackupOnDatabase, "Файл резервной копии заменил бы базу данных %1: %2")
TEXT(BackupOnTableList, "Файл резервной копии %1 заменил бы список таблиц.")
TEXT(BackupOnGeneratorList, "Файл резервной копии %1 заменил бы список генераторов.")
TEXT(BackupOnScript, "Файл резервной копии %1 заменил бы скрипт переноса.")
TEXT(BackupOnRunLog, "Файл резервной копии %1 заменил бы файл результатов.")
TEXT(BackupOnProgram, "Файл резервной копии %1 заменил бы программу.")
TEXT(BackupFolderNotWritable, "В папку %1 нельзя записать резервную копию: %2")
TEXT(WhereLine, "строка %1 (%2)")
TEXT(WhereEvents, "события, %1")
TEXT(WhereGenerator, "список генераторов, строка %1 (%2)")
TEXT(WhereBackup, "резервная копия")
TEXT(MarkError, "ОШИБКА")
TEXT(MarkWarning, "ПРЕДУПРЕЖДЕНИЕ")
TEXT(MarkNote, "примечание")
TEXT(WorkWaitToClose,
     "Эту работу нельзя прервать на середине: окно закроется, как только она закончится.")
TEXT(PlanTitle, "План переноса")
TEXT(PlanReading, "Составляем план: читаем обе базы данных...")
TEXT(PlanNotMade, "План не составлен: %1")
TEXT(AttachFailed, "не открывается база данных %1: %2")
TEXT(PlanNothingWritten,
     "Источник: %1\nПриемник: %2\nНи в одну из баз ничего не записано, файл результатов не "
     "изменен.")
TEXT(PlanNoErrors, "Ошибок нет: перенос данных пройдет без вопросов.")
TEXT(PlanErrorsAsked,
     "План называет ошибки: перед переносом данных программа спросит, выполнять ли его.")
TEXT(PlanErrorsRefused, "План называет ошибки, с которыми перенос данных невозможен.")
TEXT(PlanTotals,
     "Итого: строк списка таблиц %1, копируемых таблиц %2, удаляется строк приемника %3, "
     "читается строк источника %4, генераторов %5; предупреждений %6, ошибок %7.")
TEXT(PlanColumnLine, "Строка")
TEXT(PlanColumnTable, "Таблица")
TEXT(PlanColumnAction, "Действие")
TEXT(PlanColumnDeleted, "Удаляется")
TEXT(PlanColumnSourceRows, "Из источника")
TEXT(PlanColumnKeys, "Ключи")
TEXT(PlanColumnRowsAfter, "Станет строк")
TEXT(PlanColumnRemarks, "Замечания")
TEXT(PlanEventsLine, "события")
TEXT(ActionNothing, "ничего")
TEXT(ActionBroken, "ошибка в строке")
TEXT(ActionCopy, "копирование")
TEXT(ActionUpdateRows, "обновление строк")
TEXT(ActionUpdateColumn, "обновление столбца")
TEXT(ActionClear, "очистка")
TEXT(ActionMacros, "макросы")
TEXT(ActionEventsOnly, "только в разделе событий")
TEXT(ActionSkipped, "пропускается")
TEXT(KeysNew, "новые (пара %1)")
TEXT(KeysKeptInPair, "прежние (пара %1)")
TEXT(KeysKept, "прежние")
TEXT(CheckTitle, "Проверка после переноса")
TEXT(CheckReading, "Проверка: читаем обе базы данных...")
TEXT(CheckNotMade, "Проверка не выполнена: %1")
TEXT(CheckNoDifference, "Различий нет: все строки, ссылки и состояния на месте.")
TEXT(CheckDifferences, "Различий: %1. Они перечислены ниже.")
TEXT(CheckColumnTable, "Таблица")
TEXT(CheckColumnKey, "Ключ")
TEXT(CheckColumnColumn, "Столбец")
TEXT(CheckColumnExpected, "Должно быть")
TEXT(CheckColumnActual, "В приемнике")
TEXT(CheckTabDifferences, "Различия")
TEXT(CheckTabTables, "По таблицам")
TEXT(CheckColumnLines, "Строки списка")
TEXT(CheckColumnRead, "Прочитано")
TEXT(CheckColumnArrived, "Пришло")
TEXT(CheckColumnFailed, "С ошибкой")
TEXT(CheckColumnDiffering, "Отличаются")
TEXT(CheckColumnMissing, "Нет в приемнике")
TEXT(CheckColumnUnexpected, "Лишние")
TEXT(CheckColumnResult, "Итог")
TEXT(CheckColumnNotes, "Примечания")
TEXT(CheckOk, "в порядке")
TEXT(CheckDifferent, "РАЗЛИЧИЯ")
TEXT(CheckSourceRow, "строка источника")
TEXT(CheckNoRow, "нет строки")
TEXT(CheckMissingRow, "нет строки в приемнике")
TEXT(CheckNoNewKey, "перенос не записал для нее новый ключ")
TEXT(CheckUnexpectedRow, "строка, которой не должно быть")
TEXT(CheckBytes, "%1 байт")
TEXT(CheckLine, "строка %1")
TEXT(CheckEventsSection, "раздел событий")
TEXT(CheckLineFailed, "%1 не выполнила свою работу: %2")
TEXT(CheckNotCompared, "%1: строки не удалось сравнить: %2")
TEXT(CheckNoDestTable, "в приемнике нет такой таблицы, и строки источника не могли прийти")
TEXT(CheckNoteNoSourceTable, "в источнике нет такой таблицы: переносить нечего")
TEXT(CheckNoteNoTableOnEitherSide, "такой таблицы нет ни в одной из баз: она пропускается")
TEXT(CheckNoteNoDestTableNoRows,
     "в приемнике нет такой таблицы, но и строк для нее в источнике нет")
TEXT(CheckNoteUpdateNotCompared,
     "%1 (\"&%2\") не сравнивается: таблицу потом копирует другая строка списка")
TEXT(CheckNoteUpdateColumnMissing,
     "%1: столбца с именем \"%2\" нет в обеих базах, поэтому ничего не обновлено")
TEXT(CheckNoteWrittenBySecondScript,
     "перенос только очищает таблицу, а заполняет ее второй скрипт (SQL/Upd.sql): строк сейчас "
     "%1, не сравнивается")
TEXT(CheckNoteNotMoved,
     "строки источника без подходящего описания (%1) не переносятся, как и при переносе")
TEXT(CheckNoteUnresolved, "ссылки, для ключа которых нет нового ключа и которые стали -1: %1")
TEXT(CheckNoteWithoutRow, "строки источника, для которых в приемнике нет строки для обновления: %1")
TEXT(CheckStates, "состояния")
TEXT(CheckStatesAsInSource, "как в источнике")
TEXT(CheckStatesFound, "другие: %1, нет строки: %2")
TEXT(CheckNotMovedTotal, "События и тревоги без подходящего описания не переносятся: %1.")
TEXT(RestoreTitle, "Восстановление приемника из резервной копии")
TEXT(RestoreFolder, "Резервные копии в папке %1:")
TEXT(RestoreColumnDest, "Снята с базы данных")
TEXT(RestoreColumnMade, "Когда")
TEXT(RestoreColumnSize, "Размер")
TEXT(RestoreColumnFile, "Файл")
TEXT(RestoreDestUnknown, "(неизвестно)")
TEXT(RestoreInto, "Восстанавливается база из поля приемника: %1")
TEXT(RestoreNoDest, "Поле приемника пусто: укажите в нем базу данных, которую нужно восстановить.")
TEXT(RestoreOtherFile, "Другой файл ...")
TEXT(RestoreButton, "Восстановить")
TEXT(RestoreBrowseTitle, "Резервная копия")
TEXT(RestoreBrowseFilter, "Резервные копии (*.fbk)|*.fbk|Все файлы (*)|*")
TEXT(RestoreQuestion,
     "База данных %1 будет заменена резервной копией %2.\nВсе, что в ней сейчас, будет "
     "потеряно.\n\nВосстановить?")
TEXT(RestoreProgress, "Восстановление: прочитано %1 из %2")
TEXT(RestoreDone, "База данных %1 восстановлена из резервной копии %2.")
TEXT(RestoreAsItWas, "База данных %1 не восстановлена и осталась прежней.\n\n%2")
TEXT(RestoreBackupInPlace,
     "База данных %1 уже содержит данные резервной копии; ошибка произошла после замены.\n\n%2")
TEXT(RestoreNotKnown,
     "Сервер начал заменять базу данных %1: ее может уже не быть, или в ней только часть "
     "резервной копии. Вся резервная копия восстановлена на этом сервере как %2; чтобы вернуть "
     "ее на место, устраните причину ошибки и восстановите еще раз.\n\n%3")

#undef TEXT

}  // namespace ru
