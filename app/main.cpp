// DB_Dravik: moves the configuration of an access-control installation from
// one Firebird database into another.
#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstring>
#include <exception>
#include <iostream>
#include <memory>

#include "BuildInfo.h"
#include "app/DbDravikForm.h"
#include "app/OutsideClose.h"
#include "app/QtText.h"
#include "app/RegionalFromLocale.h"
#include "app/WindowServices.h"
#include "db/IB.h"
#include "link/IBDB.h"
#include "text/RussianTexts.h"

namespace {

// Standard buttons and dialogs read in Russian, as on the first platform's Russian systems.
void LoadRussianTranslation(QApplication& app, QTranslator& translator) {
  for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QStringLiteral("/usr/share/qt6/translations")}) {
    if (translator.load(QStringLiteral("qtbase_ru"), folder)) {
      app.installTranslator(&translator);
      return;
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  // The window takes no arguments; --version alone is answered, before any
  // display is needed.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << "DB_Dravik " << build::kVersion << "\n";
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(ToQt(ru::AppTitle()));
  QTranslator translator;
  LoadRussianTranslation(app, translator);
  FillRegional(QLocale::system());

  const std::string executablePath =
      QFile::encodeName(QApplication::applicationFilePath()).toStdString();
  const std::string helpFile = TDbDravikForm::FilePath(executablePath) + "DB_dravik.hlp";

  QtWindowServices services;
  TdmMaster master;
  std::unique_ptr<TDM1> dm;
  try {
    dm = std::make_unique<TDM1>();
  } catch (const std::exception& e) {
    services.Message(nullptr, WindowServices::Icon::Error, ru::AppTitle(),
                     TransferRun::ErrorReportText(e.what()), {WindowServices::Button::Ok});
    return 1;
  }

  TDbDravikForm form(*dm, services, executablePath, helpFile);
  OutsideCloseRequests closeRequests;
  QObject::connect(&closeRequests, &OutsideCloseRequests::requested, &form,
                   &TDbDravikForm::WmClose);
  form.show();
  return app.exec();
}
