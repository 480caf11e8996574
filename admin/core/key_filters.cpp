#include <QKeyEvent>
#include <QLineEdit>
#include <functional>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"

namespace orvane::admin {

namespace {

// Refuses character keys the predicate does not accept. Keys without text
// (arrows, Home) and control characters (Enter, Backspace, Tab, Escape) pass.
class KeyFilter : public QObject {
 public:
  KeyFilter(AdminContext& context, QObject* parent, std::function<bool(QChar)> accepts)
      : QObject(parent), context_(context), accepts_(std::move(accepts)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7f)
      return false;
    for (QChar c : text) {
      if (!accepts_(c)) {
        context_.ui().beep();
        return true;
      }
    }
    return false;
  }

 private:
  AdminContext& context_;
  std::function<bool(QChar)> accepts_;
};

}  // namespace

void SignedNumberKeys(AdminContext& context, QLineEdit& edit) {
  edit.installEventFilter(new KeyFilter(context, &edit, [&context](QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
           c == QLatin1Char('-') || c == QLatin1Char(context.DecimalSeparator);
  }));
}

void DigitKeys(AdminContext& context, QLineEdit& edit) {
  edit.installEventFilter(new KeyFilter(
      context, &edit, [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }));
}

}  // namespace orvane::admin
