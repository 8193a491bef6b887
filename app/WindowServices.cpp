#include "app/WindowServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

#include "app/AboutBox.h"
#include "app/QtText.h"
#include "text/RussianTexts.h"

namespace {

QMessageBox::StandardButton ToQtButton(WindowServices::Button b) {
  switch (b) {
    case WindowServices::Button::Yes:
      return QMessageBox::Yes;
    case WindowServices::Button::No:
      return QMessageBox::No;
    case WindowServices::Button::Ok:
      break;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQtIcon(WindowServices::Icon icon) {
  switch (icon) {
    case WindowServices::Icon::Error:
      return QMessageBox::Critical;
    case WindowServices::Icon::Warning:
      return QMessageBox::Warning;
    case WindowServices::Icon::Question:
      return QMessageBox::Question;
    case WindowServices::Icon::Information:
      return QMessageBox::Information;
    case WindowServices::Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

WindowServices::Button QtWindowServices::Message(QWidget* parent, Icon icon,
                                                 const std::string& caption,
                                                 const std::string& text,
                                                 const std::vector<Button>& buttons) {
  // The program's texts break lines with a carriage return alone.
  QString body = ToQt(text);
  body.replace(QLatin1String("\r\n"), QLatin1String("\n"))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox box(ToQtIcon(icon), ToQt(caption), body, QMessageBox::NoButton, parent);
  box.setTextFormat(Qt::PlainText);
  for (Button b : buttons) box.addButton(ToQtButton(b));
  if (!buttons.empty()) box.setDefaultButton(ToQtButton(buttons.front()));
  if (buttons.size() == 1) box.setEscapeButton(ToQtButton(buttons.front()));
  box.exec();
  QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
  for (Button b : buttons)
    if (ToQtButton(b) == pressed) return b;
  return buttons.empty() ? Button::Ok : buttons.back();
}

bool QtWindowServices::BrowseFile(QWidget* parent, const std::string& title,
                                  const std::string& filter, QString& fileName) {
  QFileDialog dialog(parent, ToQt(title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(QtNameFilter(filter));
  QString current = fileName;
  current.remove(QLatin1Char('"'));
  if (!current.trimmed().isEmpty()) {
    QFileInfo info(current.trimmed());
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  fileName = dialog.selectedFiles().first();
  return true;
}

void QtWindowServices::Help(QWidget* parent, const std::string& helpFile, int /*context*/) {
  // A desktop viewer opens the file but cannot be handed the topic number.
  QString path = QFile::decodeName(helpFile.c_str());
  if (!QFileInfo::exists(path)) {
    // The help system's own report of a missing help file.
    Message(parent, Icon::Error, ru::AppTitle(), ru::HelpFileNotFound() + FromQt(path) + ".",
            {Button::Ok});
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void QtWindowServices::About(QWidget* parent, const std::string& programFolder) {
  ShowAboutBox(programFolder, *this, parent);
}

void QtWindowServices::ShowDialog(QDialog& dialog) {
  dialog.exec();
}

QString QtNameFilter(const std::string& filter) {
  QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QLatin1String(" (") + patterns + QLatin1Char(')');
  }
  return filters.join(QLatin1String(";;"));
}
