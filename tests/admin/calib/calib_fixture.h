// A calibration window of a test's own orvadmin, on a simulated network at
// COM1: entry 0 is the module to calibrate, the window is shown as the main
// window would open it, and the test reads what went over the line.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin::testing {

using Frames = std::vector<std::string>;

class CalibFixture : public AdminFixture {
 protected:
  CalibFixture();

  // The same behind a link, so that the network can be unplugged and
  // plugged in again at the same path.
  ModuleEntry& startOnLink(sim::ModuleState module);

  // Creates the window as the main window would and shows it; sent() then
  // holds what it sent from its creation on.
  template <typename Form>
  Form& open() {
    network_->clearFrames();
    ui_->messages.clear();
    auto form = std::make_unique<Form>(*context_);
    Form& shown = *form;
    window_ = std::move(form);
    window_->show();
    return shown;
  }

  template <typename T>
  T& control(const QString& name) const {
    auto* found = window_->findChild<T*>(name);
    if (!found) throw std::runtime_error("no control " + name.toStdString());
    return *found;
  }
  QPushButton& button(const char* name) const {
    return control<QPushButton>(QString::fromLatin1(name));
  }
  QString text(const char* name) const { return control<QLabel>(QString::fromLatin1(name)).text(); }
  QLineEdit& field(const char* name) const { return control<QLineEdit>(QString::fromLatin1(name)); }
  // Shown as far as the window goes (the window itself may be closed).
  bool visible(const char* name) const {
    return control<QWidget>(QString::fromLatin1(name)).isVisibleTo(window_.get());
  }
  // Clicks the button, which must be shown and enabled, as the user would.
  void click(const char* name) const;
  // The frames sent by what `act` does, text without CR.
  Frames sentBy(const std::function<void()>& act);
  Frames sent() const { return framesSent(); }
  bool closed() const { return !window_->isVisible(); }

  std::unique_ptr<QDialog> window_;
};

// The frame text with its checksum digits, as a module using the checksum
// expects it.
std::string withChecksum(const std::string& command);

}  // namespace orvane::admin::testing
