#pragma once
// Puts the destination named in the destination box back from a backup: the
// backups of the program's backup folder listed with the database each was made
// of, when and its size, or another file chosen; a question that names the
// destination first, the restore's progress, and a box that says where the
// data is at the end.
#include <atomic>
#include <string>

#include "app/WorkDialog.h"
#include "transfer/WayBack.h"

class QProgressBar;
class QPushButton;
class ReportView;
class WindowServices;

class RestoreDialog : public WorkDialog {
  Q_OBJECT

 public:
  // `dest` as the connections name it (quotes removed), empty when the box is.
  RestoreDialog(QWidget* parent, WindowServices& services, std::string backupFolder,
                std::string dest);
  ~RestoreDialog() override { EndWork(); }

  ReportView* Backups() const { return backups_; }
  // The backup file of the row the operator chose; empty when none is.
  std::string ChosenFile() const;
  // The last restore's result.
  const RestoreResult& Result() const { return result_; }

 protected:
  void ShowProgress() override;

 private:
  void ListFolder();
  void AddBackup(const std::string& file, const std::string& dest, long long madeAt,
                 long long size);
  void BrowseOther();
  void RestoreChosen();
  void RestoreEnded(const std::string& file);
  void FollowChoice();

  WindowServices& services_;
  const std::string folder_;
  const std::string dest_;
  ReportView* backups_;
  QProgressBar* progress_;
  QPushButton* other_;
  QPushButton* restore_;
  std::atomic<long long> bytesRead_{0};
  long long backupSize_ = 0;
  RestoreResult result_;
};
