// The windows the main window opens, by name ("AdConfigForm", "DaDiagForm",
// "TerminalForm", "MonitorForm", ...). main() registers a factory for every
// window that exists; the core never includes those windows, and a window
// without a factory is simply not opened.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>

class QDialog;
class QWidget;

namespace orvane::admin {

class AdminContext;

using WindowFactory =
    std::function<std::unique_ptr<QDialog>(AdminContext& context, QWidget* parent)>;

class WindowFactories {
 public:
  void add(const QString& windowName, WindowFactory factory);
  // A factory that makes Form(context, parent).
  template <typename Form>
  void add(const QString& windowName) {
    add(windowName, [](AdminContext& context, QWidget* parent) -> std::unique_ptr<QDialog> {
      return std::make_unique<Form>(context, parent);
    });
  }
  bool has(const QString& windowName) const;
  // A new window, or nullptr when no factory is registered for the name.
  std::unique_ptr<QDialog> create(const QString& windowName, AdminContext& context,
                                  QWidget* parent) const;

 private:
  std::map<QString, WindowFactory> factories_;
};

}  // namespace orvane::admin
