// A diagnostic window of a test's own orvadmin, on a simulated network at
// COM1: entry 0 is the module under test; the window is shown without its
// timer running, and the test calls its tick.
#pragma once

#include <QLabel>
#include <memory>
#include <string>
#include <vector>

#include "admin/diag/diag_form.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin::testing {

class DiagFixture : public AdminFixture {
 protected:
  DiagFixture();

  // Opens the window as the main window would, shows it and stops its
  // timer, so ticks run only when the test calls tick().
  template <typename Form>
  Form& open() {
    network_->clearFrames();
    auto form = std::make_unique<Form>(*context_);
    Form& shown = *form;
    window_ = std::move(form);
    window_->show();
    stopTimer();
    return shown;
  }
  // One tick; returns the frames it sent (text without CR).
  std::vector<std::string> tick();

  template <typename T>
  T& control(const QString& name) const {
    auto* found = window_->findChild<T*>(name);
    if (!found) throw std::runtime_error("no control " + name.toStdString());
    return *found;
  }
  QString text(const QString& name) const { return control<QLabel>(name).text(); }
  QString text(const char* name) const { return text(QString::fromLatin1(name)); }
  // The frames sent since the window opened (or the last clearFrames).
  std::vector<std::string> sent() const { return framesSent(); }

  std::unique_ptr<DiagForm> window_;

 private:
  void stopTimer();
};

// A label's colour as the window set it ("rgb(255, 0, 0)"), from its style.
QString colourOf(const QLabel& label);

}  // namespace orvane::admin::testing
