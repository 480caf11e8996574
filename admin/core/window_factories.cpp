#include "admin/core/window_factories.h"

#include <QDialog>

namespace orvane::admin {

void WindowFactories::add(const QString& windowName, WindowFactory factory) {
  factories_[windowName] = std::move(factory);
}

bool WindowFactories::has(const QString& windowName) const {
  return factories_.count(windowName) != 0;
}

std::unique_ptr<QDialog> WindowFactories::create(const QString& windowName, AdminContext& context,
                                                 QWidget* parent) const {
  auto it = factories_.find(windowName);
  if (it == factories_.end()) return nullptr;
  return it->second(context, parent);
}

}  // namespace orvane::admin
