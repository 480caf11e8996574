#include "admin/core/about_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "admin/core/button_icons.h"
#include "orvane_version.h"

namespace orvane::admin {

AboutForm::AboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("About ") + QStringLiteral(" Administration Utility"));
  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setPixmap(programPicture());
  auto* layout = new QGridLayout(this);
  layout->addWidget(image, 0, 0, 3, 1, Qt::AlignTop);
  const char* texts[] = {" Administration Utility for 32-bit Windows", " Version " ORVANE_VERSION, " "};
  for (int i = 0; i < 3; ++i) {
    auto* text = new QLabel(QString::fromLatin1(texts[i]), this);
    text->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    layout->addWidget(text, i, 1);
  }
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  layout->addWidget(ok, 3, 0, 1, 2, Qt::AlignHCenter);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace orvane::admin
