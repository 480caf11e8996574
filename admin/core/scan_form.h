// The search in progress: shows the port, the baud rate and address being
// tried and how far the address range has come; runs the scan when it
// first appears and closes itself at the end. Stop ends the scan after the
// address in progress.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "admin/core/link_task.h"
#include "admin/core/network_scan.h"

class QLabel;
class QProgressBar;

namespace orvane::admin {

class AdminContext;

class ScanForm : public QDialog {
  Q_OBJECT

 public:
  ScanForm(AdminContext& context, QWidget* parent = nullptr);

 signals:
  // Entry i was found and read; the main window appends its row.
  void moduleFound(int entryIndex);

 protected:
  void showEvent(QShowEvent* event) override;
  // Escape and the close box stop the scan like StopBtn.
  void reject() override;

 private slots:
  void onFormActivate();
  void onStopBtnClicked();
  void onScanDone();

 private:
  AdminContext& context_;
  QLabel* addrs_;
  QLabel* dispBaud_;
  QProgressBar* progress_;
  LinkTask<ScanOutcome> scan_;
  bool stopRequested_ = false;
  bool started_ = false;
  bool running_ = false;
};

}  // namespace orvane::admin
