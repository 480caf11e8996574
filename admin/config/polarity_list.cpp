#include "admin/config/polarity_list.h"

#include <QComboBox>

namespace orvane::admin {

QComboBox* makePolarityList(const QString& name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->addItems({QStringLiteral("Not change"), QStringLiteral("Change!")});
  return list;
}

}  // namespace orvane::admin
