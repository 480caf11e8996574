// The search question: confirms the search of the open port's network and
// takes the upper address (SearchConfirmed, SearchHiAddress).
#pragma once

#include <QDialog>

class QLineEdit;

namespace orvane::admin {

class AdminContext;

class SearchForm : public QDialog {
  Q_OBJECT

 public:
  SearchForm(AdminContext& context, QWidget* parent = nullptr);

 private slots:
  void onOKBtnClicked();
  void onCancelBtnClicked();

 private:
  // "9600, 19200, 115200": the rates searched on the port, in BaudCode order.
  QString searchedBaudRates() const;

  AdminContext& context_;
  QLineEdit* hiAddress_;
};

}  // namespace orvane::admin
