// A configuration dialog of a test's own orvadmin, on a simulated network at
// COM1: the entry to configure, the dialog shown, and what went over the
// line.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin::testing {

class ConfigFixture : public AdminFixture {
 protected:
  ConfigFixture();

  // Makes entry 0 the initialization entry (addressed as 00).
  void makeInitializationEntry();

  // Opens the dialog as the main window would and shows it.
  template <typename Form>
  Form& open() {
    network_->clearFrames();
    auto form = std::make_unique<Form>(*context_);
    Form& shown = *form;
    dialog_ = std::move(form);
    dialog_->show();
    return shown;
  }

  template <typename T>
  T& control(const QString& name) const {
    auto* found = dialog_->findChild<T*>(name);
    if (!found) throw std::runtime_error("no control " + name.toStdString());
    return *found;
  }
  QComboBox& list(const char* name) const { return control<QComboBox>(QString::fromLatin1(name)); }
  QLineEdit& field(const char* name) const { return control<QLineEdit>(QString::fromLatin1(name)); }
  void clickOK() const { control<QPushButton>(QStringLiteral("OKBtn")).click(); }
  void setAddress(int address) const { field("Addr").setText(QString::number(address)); }

  // The frames sent since the dialog opened, as text without CR.
  std::vector<std::string> sent() const;
  bool closed() const { return !dialog_->isVisible(); }

  std::unique_ptr<QDialog> dialog_;
};

}  // namespace orvane::admin::testing
