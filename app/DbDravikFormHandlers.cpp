// The main window's handlers: the enabling rule, the path check, the start-up
// checks, the menu, help and the about box.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <exception>

#include "app/DbDravikForm.h"
#include "app/Inputs.h"
#include "app/ProgramFolder.h"
#include "app/QtText.h"
#include "app/WindowServices.h"
#include "text/RussianTexts.h"
#include "text/TextFile.h"
#include "text/Trim.h"
#include "transfer/RunLog.h"

namespace {

constexpr int kMainWindowHelpContext = 10;

}  // namespace

void TDbDravikForm::FormCreate() {
  ApplyEnablingRule();
}

void TDbDravikForm::FormActivate() {
  // Only the first activation: a later one would empty the run log of the runs made since.
  if (activated_) return;
  activated_ = true;
  StartupChecks();
}

void TDbDravikForm::StartupChecks() {
  // An installed program's folder is the user's own (made here on first start);
  // what could not be made shows in the checks below as in any folder.
  programFolder_ = ProgramFolderOf(FilePath(executablePath_)).folder;
  ProcessMessages();

  try {
    RunLog(programFolder_).Create();
  } catch (const std::exception&) {
    StartupCheckFailed(ru::RunLogNotCreated());
    return;
  }

  stepCount_ = 0;
  try {
    stepCount_ = text::CountLines(text::ResolveInFolder(programFolder_, "Conv.txt"));
  } catch (const std::exception&) {
    StartupCheckFailed(ru::TableListNotFound());
    return;
  }

  try {
    text::CountLines(text::ResolveInFolder(programFolder_, "GENERATOR.txt"));
  } catch (const std::exception&) {
    StartupCheckFailed(ru::GeneratorListNotFound());
  }
}

void TDbDravikForm::StartupCheckFailed(const std::string& message) {
  services_.Message(this, WindowServices::Icon::Error, ru::ErrorCaption(), message,
                    {WindowServices::Button::Ok});
  // The main window closing ends the program.
  close();
}

void TDbDravikForm::SetStartCommand(bool enabled) {
  MoveBitBtn->setEnabled(enabled);
  mnuFile_Move->setEnabled(enabled);
  // The plan is of a run the start command could start.
  mnuTools_Plan->setEnabled(enabled);
}

void TDbDravikForm::ApplyEnablingRule() {
  // Texts as they stand: blanks count as filled.
  if (!SourceFE->text().isEmpty() && !DestFE->text().isEmpty()) {
    if (!MoveBitBtn->isEnabled()) SetStartCommand(true);
  } else if (MoveBitBtn->isEnabled()) {
    SetStartCommand(false);
  }
}

void TDbDravikForm::PathCheck(const FileNameEdit& changed) {
  const std::string source = text::Trim(SourceText());
  const std::string dest = text::Trim(DestText());
  if (source != dest || text::Trim(QFile::encodeName(changed.text()).toStdString()).empty()) {
    ApplyEnablingRule();
    return;
  }
  services_.Message(this, WindowServices::Icon::Error, ru::ErrorCaption(), ru::SamePathsMessage(),
                    {WindowServices::Button::Ok});
  SetStartCommand(false);
}

void TDbDravikForm::SourceFEChange() {
  PathCheck(*SourceFE);
}
void TDbDravikForm::DestFEChange() {
  PathCheck(*DestFE);
}

void TDbDravikForm::SaveUserPlaceCBClick() {
  locationFlag_ = SaveUserPlaceCB->isChecked();
}

void TDbDravikForm::MoveBitBtnClick() {
  run_.MoveBitBtnClick(programFolder_, stepCount_);
  ShowCheckAfterRun();
}
void TDbDravikForm::mnuFile_MoveClick() {
  MoveBitBtnClick();
}

void TDbDravikForm::CancelMoveBitBtnClick() {
  if (services_.Message(
          this, WindowServices::Icon::Question, ru::AppTitle(), ru::InterruptQuestion(),
          {WindowServices::Button::Yes, WindowServices::Button::No}) == WindowServices::Button::Yes)
    interrupted_ = true;
}

void TDbDravikForm::Browse(FileNameEdit& box, bool quoteBlanks) {
  QString name = box.text();
  if (!services_.BrowseFile(this, ru::BrowseDialogTitle(), ru::BrowseDialogFilter(), name)) return;
  // A quoted path survives as one word; the run removes the quotes again.
  if (quoteBlanks && name.contains(QLatin1Char(' ')) && !name.startsWith(QLatin1Char('"')))
    name = QLatin1Char('"') + name + QLatin1Char('"');
  box.setText(name);
}

void TDbDravikForm::mnuFile_SourceClick() {
  Browse(*SourceFE, false);
}
void TDbDravikForm::mnuFile_DestClick() {
  Browse(*DestFE, false);
}

void TDbDravikForm::mnuHelp_MainWindowClick() {
  services_.Help(this, helpFile_, kMainWindowHelpContext);
}

void TDbDravikForm::mnuHelp_AboutClick() {
  services_.About(this, programFolder_);
}

void TDbDravikForm::WmClose() {
  services_.Message(this, WindowServices::Icon::None, ru::AppTitle(), "Wm_Close",
                    {WindowServices::Button::Ok});
  close();
}
