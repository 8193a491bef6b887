#include "text/RussianTexts.h"

#include "text/Cp1251.h"

namespace ru {

#define TEXT(name, utf8)                                     \
  const std::string& name() {                                \
    static const std::string s = text::Cp1251FromUtf8(utf8); \
    return s;                                                \
  }

TEXT(AppTitle, "Перенос данных")
TEXT(SourceLabel, "База - источник данных:")
TEXT(DestLabel, "База - приемник данных:")
TEXT(BrowseDialogTitle, "Базы данных")
TEXT(BrowseDialogFilter, "Базы данных (*.gdb, *.fdb)|*.gdb;*.fdb")
TEXT(EventsBox, "Переносить события и тревоги")
TEXT(EventsFromLabel, "с:")
TEXT(KeepLocationsBox, "Сохранять местоположение пользователей (долго!)")
TEXT(StartButton, "Выполнить перенос данных")
TEXT(InterruptButton, "Прервать перенос данных")
TEXT(TableCaption, "Копируется таблица:")
TEXT(AllCaption, "Всего скопировано:")
TEXT(MenuFile, "Файл")
TEXT(MenuFileSource, "Источник данных ...")
TEXT(MenuFileDest, "Приемник данных ...")
TEXT(MenuFileMove, "Выполнить перенос данных")
TEXT(MenuHelp, "Помощь")
TEXT(MenuHelpMainWindow, "Главное окно")
TEXT(MenuHelpAbout, "О программе ...")
TEXT(InterruptQuestion, "Вы действительно хотите прервать перенос данных?")
TEXT(ErrorCaption, "Ошибка")
TEXT(AboutLibraryNotLoaded, "Не удалось загрузить библиотеку about.dll")
TEXT(AboutEntryNotFound, "Функция show_about в библиотеке about.dll не найдена")
TEXT(SamePathsMessage, "БД источника и приемника должны быть разными.")
TEXT(RunLogNotCreated, "Невозможно создать Файл результатов,\r  продолжение работы невозможно.")
TEXT(TableListNotFound,
     "Не найден Файл со списком копируемых таблиц,\r         продолжение работы невозможно.")
TEXT(GeneratorListNotFound,
     "Не найден Файл со списком генераторов,\r   продолжение работы невозможно.")
TEXT(StatusSavingStates, "Схраняем динамические данные...")
TEXT(StatusProcessing, "Обработка")
TEXT(StatusRestoringGenerators, "Восстановление генераторов.")
TEXT(StatusRestoringStates, "Восстанавливаем динамические данные...")
TEXT(StatusDone, "Перенос данных завершен.")
TEXT(StatusInterrupted, "Перенос данных прерван")
TEXT(StatusClearing, "Очистка Базы - приемника данных:.")
TEXT(InterruptWarning,
     "                                       Внимание!!!\r"
     "                 Перенос данных был прерван пользователем.\r"
     " Перед врозобновлением переноса данных обновите Базу - приемник данных.")
TEXT(LogClearingPass, "   Очистка БД приемника ")
TEXT(LogCopyPass, "   Обновление БД приемника")
TEXT(LogExtraClearing, "   Дополнительная Очистка БД ")
TEXT(LogClearing, "   Очистка БД ")
TEXT(LogClearError, "Ошибка очистки таблицы  ")
TEXT(LogUpdateError, "Ошибка Обновления ")
TEXT(LogInsertError, "Ошибка Добавления ")
TEXT(LogNewKeyError, "Ошибка выяснения значения ID ")
TEXT(LogArchiveFlagError, "Ошибка изменения флага архивации ")
TEXT(LogCommitError, "Ошибка сохранения таблицы  ")
TEXT(LogMacroReadError, "Ошибка чтения макросов источника:  ")
TEXT(LogMacroClearError, "Ошибка очистки макросов приемника:  ")
TEXT(LogMacroInsertError, "Ошибка добавления макросов в приемник:  ")
TEXT(LogMacroNewKeyError, "Ошибка выяснения значения ID макроса :  ")
TEXT(LogMaxError, "Ошибка нахождения максимума таблицы  ")
TEXT(LogGeneratorError, "Ошибка установки генератора  ")
TEXT(LogStatementStart, "___________ Начало команды SQL ____________________")
TEXT(LogStatementSuccess, "    Успешная операция.    ")
TEXT(LogStatementFailure, "########       Сообщение об ошибке       #########")
TEXT(LogStatementEnd, "___________ Конец команды SQL _____________________")
TEXT(HelpFileNotFound, "Не удается найти файл справки ")
TEXT(UnknownError, "Неизвестная ошибка")
TEXT(OlderEngineDatabase, "База данных ")
TEXT(OlderEngineStructure, " создана более старой версией Firebird (структура файла ")
TEXT(OlderEngineCannotOpen, ") и этой версией Firebird не открывается.")
TEXT(OlderEngineAdvice,
     "Откройте ее через сервер Firebird той версии (имя вида хост:/путь/база.fdb) или сделайте "
     "ее резервную копию программой gbak той версии и восстановите копию программой gbak этой "
     "версии Firebird.")
TEXT(ServiceNotABackup,
     "Файл не является полной резервной копией базы данных (другой файл, обрезан или поврежден): ")
TEXT(ServiceDatabaseInUse, "База данных занята другой программой; закройте ее и повторите: ")
TEXT(ServiceDiskFull, "Недостаточно места на диске: ")
TEXT(ServiceBackupFailed, "Резервная копия не создана: ")
TEXT(ServiceRestoreFailed, "База данных не восстановлена и осталась прежней: ")
TEXT(ServiceBackupFileNotRead, "Не удается прочитать файл резервной копии ")
TEXT(ServiceBackupFileNotWritten, "Не удается записать файл резервной копии ")
TEXT(ServiceBackupIsTheDatabase,
     "Резервная копия не создана: ее файл не может быть самой базой данных: ")
TEXT(ServiceDatabaseNotReplaced, "Не удается заменить базу данных восстановленной: ")
TEXT(ServiceCopyKeptOnServer,
     "Замена базы данных на сервере не завершена. Копия, восстановленная из резервной копии и "
     "проверенная, сохранена на сервере: ")
TEXT(ServiceReplaceOnServerFailed,
     "Восстановление базы данных на сервере прервано; сервер мог уже удалить прежнюю базу: ")
TEXT(ServiceFolderNotSynced, "Файл записан, но папку не удалось сохранить на диск: ")
TEXT(ServiceDatabaseSizeUnknown, "Не удается узнать размер базы данных ")

#undef TEXT

}  // namespace ru
