// The Network Line dialog of the Devices dialog: a COM number and the URL of
// a line on a device server ("rfc2217://192.168.1.50:7001"). OK takes a URL
// only when it is well formed; a bad one is refused with the reason, and the
// dialog stays open.
#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;

namespace orvane::admin {

class AdminContext;

// What is wrong with the text as the name of a network line; empty when it
// is a good one.
QString networkLineRefusal(const QString& text);

class NetworkLineForm : public QDialog {
  Q_OBJECT

 public:
  // Starts with COM n chosen and its field's text when that is a URL.
  NetworkLineForm(AdminContext& context, int com, const QString& current,
                  QWidget* parent = nullptr);

  int com() const;
  QString url() const;

 private slots:
  void onOKBtnClicked();

 private:
  AdminContext& context_;
  QComboBox* comNumber_;
  QLineEdit* url_;
};

}  // namespace orvane::admin
