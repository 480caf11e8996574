#include "admin/core/network_line_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "serial/line_name.h"

namespace orvane::admin {

QString networkLineRefusal(const QString& text) {
  if (text.trimmed().isEmpty())
    return QStringLiteral(
        "Type the URL of the line on the device server, such as rfc2217://192.168.1.50:7001 or "
        "socket://192.168.1.50:4001.");
  const auto problem = serial::networkLineNameProblem(text.trimmed().toStdString());
  return problem ? QString::fromStdString(*problem) : QString();
}

NetworkLineForm::NetworkLineForm(AdminContext& context, int com, const QString& current,
                                 QWidget* parent)
    : QDialog(parent),
      context_(context),
      comNumber_(new QComboBox(this)),
      url_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("NetworkLineForm"));
  setWindowTitle(QStringLiteral("Network Line"));
  auto* intro = new QLabel(
      QStringLiteral("A line on a device server: rfc2217://HOST:PORT when the server takes the "
                     "line settings (Telnet, RFC 2217), socket://HOST:PORT for raw TCP at the "
                     "server's fixed speed."),
      this);
  intro->setWordWrap(true);
  comNumber_->setObjectName(QStringLiteral("ComNumber"));
  for (int n = 1; n <= 8; ++n) comNumber_->addItem(QStringLiteral("COM%1").arg(n), n);
  comNumber_->setCurrentIndex(com >= 1 && com <= 8 ? com - 1 : 0);
  url_->setObjectName(QStringLiteral("Url"));
  url_->setPlaceholderText(QStringLiteral("rfc2217://192.168.1.50:7001"));
  url_->setMinimumWidth(320);
  if (serial::isUrl(current.trimmed().toStdString())) url_->setText(current.trimmed());

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("COM &port:"), comNumber_);
  fields->addRow(QStringLiteral("&URL:"), url_);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  url_->setFocus();

  connect(ok, &QPushButton::clicked, this, &NetworkLineForm::onOKBtnClicked);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int NetworkLineForm::com() const { return comNumber_->currentData().toInt(); }

QString NetworkLineForm::url() const { return url_->text().trimmed(); }

void NetworkLineForm::onOKBtnClicked() {
  const QString refusal = networkLineRefusal(url_->text());
  if (!refusal.isEmpty()) {
    context_.ui().message(this, refusal, kErrorTitle);
    url_->setFocus();
    url_->selectAll();
    return;
  }
  accept();
}

}  // namespace orvane::admin
