#include "tests/window/WindowTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <fstream>
#include <sstream>

// The folder has a Cyrillic name with a blank, as under a Russian desktop's
// downloads folder: every file of the program folder is found through it.
ProgramFolder::ProgramFolder()
    : dir_(QDir::tempPath() + QString::fromUtf8("/Программа ДБ-XXXXXX")),
      path_(QFile::encodeName(dir_.path()).toStdString() + "/") {
  Write("Conv.txt", "HOSTS=HS_ID\r\nCONTROLLERS=CT_ID\r\nREADERS=RD_ID\r\n");
  Write("GENERATOR.txt", "HOSTS=HS_ID=GEN_HOSTS\r\n");
}

void ProgramFolder::Write(const std::string& name, const std::string& content) const {
  std::ofstream out(path_ + name, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string ProgramFolder::Read(const std::string& name) const {
  std::ifstream in(path_ + name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void ProgramFolder::Remove(const std::string& name) const {
  QFile::remove(QFile::decodeName((path_ + name).c_str()));
}

std::unique_ptr<TDbDravikForm> MakeForm(RecordingServices& services, const ProgramFolder& folder) {
  return std::make_unique<TDbDravikForm>(TestDm(), services, folder.Executable(),
                                         folder.Path() + "DB_dravik.hlp");
}

bool ShowAndWaitForChecks(TDbDravikForm& form) {
  form.show();
  QDeadlineTimer deadline(5000);
  while (!form.StartupChecksMade() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return form.StartupChecksMade();
}
