#include "app/RestoreDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/QtText.h"
#include "app/ReportView.h"
#include "app/ToolsWords.h"
#include "app/WindowServices.h"
#include "text/RussianTexts.h"
#include "transfer/BackupFolder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFileColumn = 3;
constexpr int kPathRole = Qt::UserRole + 3;  // the file column's whole path

// The note beside a backup of another folder, when it has one.
std::string NotedDestination(const std::string& file) {
  for (const BackupEntry& entry : ListBackups(fs::path(file).parent_path().string() + "/"))
    if (entry.file == file) return entry.dest;
  return std::string();
}

}  // namespace

RestoreDialog::RestoreDialog(QWidget* parent, WindowServices& services, std::string backupFolder,
                             std::string dest)
    : WorkDialog(parent),
      services_(services),
      folder_(std::move(backupFolder)),
      dest_(std::move(dest)),
      backups_(
          new ReportView(this, {ToQt(ru::RestoreColumnDest()), ToQt(ru::RestoreColumnMade()),
                                ToQt(ru::RestoreColumnSize()), ToQt(ru::RestoreColumnFile())})),
      progress_(new QProgressBar(this)),
      other_(new QPushButton(ToQt(ru::RestoreOtherFile()), this)),
      restore_(new QPushButton(ToQt(ru::RestoreButton()), this)) {
  setObjectName(QStringLiteral("RestoreDialog"));
  setWindowTitle(ToQt(ru::RestoreTitle()));
  backups_->setObjectName(QStringLiteral("backups"));
  backups_->setSelectionMode(QAbstractItemView::SingleSelection);
  other_->setObjectName(QStringLiteral("otherFile"));
  restore_->setObjectName(QStringLiteral("restore"));
  other_->setAutoDefault(false);
  restore_->setDefault(true);
  progress_->setTextVisible(false);
  progress_->setRange(0, 1000);
  progress_->setValue(0);

  auto* folder = new QLabel(ToQt(ru::RestoreFolder()).arg(FileNameText(folder_)), this);
  auto* into = new QLabel(
      dest_.empty() ? ToQt(ru::RestoreNoDest()) : ToQt(ru::RestoreInto()).arg(FileNameText(dest_)),
      this);
  into->setWordWrap(true);
  into->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->addButton(other_, QDialogButtonBox::ActionRole);
  buttons->addButton(restore_, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &RestoreDialog::reject);
  connect(other_, &QPushButton::clicked, this, &RestoreDialog::BrowseOther);
  connect(restore_, &QPushButton::clicked, this, &RestoreDialog::RestoreChosen);
  connect(backups_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &RestoreDialog::FollowChoice);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(folder);
  layout->addWidget(backups_, 1);
  layout->addWidget(into);
  layout->addWidget(progress_);
  layout->addWidget(StatusLine());
  layout->addWidget(buttons);
  resize(760, 420);

  ListFolder();
  if (backups_->model()->rowCount() > 0) backups_->selectRow(0);
  FollowChoice();
  backups_->setFocus();
}

void RestoreDialog::ListFolder() {
  for (const BackupEntry& entry : ListBackups(folder_))
    AddBackup(entry.file, entry.dest, entry.madeAt, entry.size);
  backups_->FitToContents();
}

void RestoreDialog::AddBackup(const std::string& file, const std::string& dest, long long madeAt,
                              long long size) {
  const QDateTime made = QDateTime::fromSecsSinceEpoch(madeAt);
  // The folder is named above the list; a file of another folder shows its path.
  const QString path = FileNameText(file);
  const bool inFolder = fs::path(file).parent_path() == fs::path(folder_).parent_path();
  backups_->AddRow({dest.empty() ? ToQt(ru::RestoreDestUnknown()) : FileNameText(dest),
                    QLocale().toString(made, QLocale::ShortFormat), SizeText(size),
                    inFolder ? FileNameText(fs::path(file).filename().string()) : path},
                   ReportView::Mark::None, {QVariant(), madeAt, static_cast<qlonglong>(size)});
  QStandardItem* fileItem = backups_->Rows()->item(backups_->Rows()->rowCount() - 1, kFileColumn);
  fileItem->setData(path, kPathRole);
  fileItem->setData(path, Qt::ToolTipRole);
}

std::string RestoreDialog::ChosenFile() const {
  const QModelIndexList rows = backups_->selectionModel()->selectedRows(kFileColumn);
  if (rows.isEmpty()) return std::string();
  return QFile::encodeName(rows.front().data(kPathRole).toString()).toStdString();
}

void RestoreDialog::FollowChoice() {
  restore_->setEnabled(!Working() && !dest_.empty() && !ChosenFile().empty());
  other_->setEnabled(!Working());
}

void RestoreDialog::BrowseOther() {
  QString name = FileNameText(folder_);
  if (!services_.BrowseFile(this, ru::RestoreBrowseTitle(), ru::RestoreBrowseFilter(), name))
    return;
  const std::string file = QFile::encodeName(name).toStdString();
  std::error_code error;
  const auto size = fs::file_size(file, error);
  const auto written = fs::last_write_time(file, error);
  const long long madeAt = error
                               ? 0
                               : std::chrono::duration_cast<std::chrono::seconds>(
                                     fs::file_time_type::clock::to_sys(written).time_since_epoch())
                                     .count();
  AddBackup(file, NotedDestination(file), madeAt, error ? 0 : static_cast<long long>(size));
  backups_->FitToContents();
  // The file just chosen is the one to restore, wherever the sorting put it.
  for (int row = 0; row < backups_->model()->rowCount(); ++row)
    if (backups_->model()->index(row, kFileColumn).data(kPathRole).toString() == name) {
      backups_->selectRow(row);
      break;
    }
}

void RestoreDialog::RestoreChosen() {
  const std::string file = ChosenFile();
  if (file.empty() || dest_.empty()) return;
  const std::string question =
      FromQt(ToQt(ru::RestoreQuestion()).arg(FileNameText(dest_), FileNameText(file)));
  if (services_.Message(this, WindowServices::Icon::Question, ru::AppTitle(), question,
                        {WindowServices::Button::No, WindowServices::Button::Yes}) !=
      WindowServices::Button::Yes)
    return;
  std::error_code error;
  backupSize_ = static_cast<long long>(fs::file_size(file, error));
  bytesRead_ = 0;
  progress_->setValue(0);
  StartWork(
      [this, file] {
        result_ = RestoreDestination(file, dest_, [this](long long bytes) { bytesRead_ = bytes; });
      },
      [this, file] { RestoreEnded(file); });
  FollowChoice();
  ShowProgress();
}

void RestoreDialog::ShowProgress() {
  const long long bytes = bytesRead_;
  if (backupSize_ > 0)
    progress_->setValue(static_cast<int>(std::min<long long>(1000, bytes * 1000 / backupSize_)));
  SetStatus(ToQt(ru::RestoreProgress()).arg(SizeText(bytes), SizeText(backupSize_)));
}

void RestoreDialog::RestoreEnded(const std::string& file) {
  if (!WorkError().empty()) result_.error = WorkError();
  const bool restored = result_.now == DestinationNow::Restored && WorkError().empty();
  if (restored) progress_->setValue(progress_->maximum());
  ShowProgress();
  FollowChoice();
  const QString outcome = RestoreOutcomeText(result_, file, dest_);
  services_.Message(this,
                    restored ? WindowServices::Icon::Information : WindowServices::Icon::Error,
                    ru::AppTitle(), FromQt(outcome), {WindowServices::Button::Ok});
}
