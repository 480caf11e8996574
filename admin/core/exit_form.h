// The exit question. Yes closes the port, writes COM.CFG and admin.map and
// accepts; No rejects.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

namespace orvane::admin {

class AdminContext;

class ExitForm : public QDialog {
  Q_OBJECT

 public:
  // The rows are the main window's list, written into admin.map.
  ExitForm(AdminContext& context, std::vector<std::string> rows, QWidget* parent = nullptr);

 private slots:
  void onYesBtnClicked();

 private:
  AdminContext& context_;
  std::vector<std::string> rows_;
};

}  // namespace orvane::admin
