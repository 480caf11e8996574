// The monitor of a test's own orvadmin on a simulated network at COM1: the
// modules listed as a search would list them, the window shown with its
// timer stopped, and its grid read back.
#pragma once

#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "admin/diag/monitor_form.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin::testing {

enum Column { kAddress, kModel, kData, kInput, kOutput, kRemark };

class MonitorFixture : public AdminFixture {
 protected:
  MonitorFixture() {
    context_->ReplyTimeout = 150;
    context_->LongReplyTimeout = 150;
  }

  // Starts the network and lists its modules in order, as a search would.
  void listed(const std::vector<sim::ModuleState>& modules) {
    startNetwork(modules);
    openPort();
    for (std::size_t i = 0; i < modules.size(); ++i) {
      const sim::ModuleState& m = modules[i];
      ModuleEntry& e = setEntry(static_cast<int>(i), m.model, m.address, m.baudCode, m.checksum);
      e.TypeCode = m.typeCode;
      e.DataFormat = m.format & 3;
      if (m.initState) context_->InitModuleIndex = static_cast<int>(i);
    }
    context_->ModuleCount = static_cast<int>(modules.size());
  }

  // A 7231 at 7 reading 15.32 mV and a 7342 at 8 driving 12.5 mA.
  void listInputAndOutput() {
    auto input = simModule("7231", 7);
    input.typeCode = 0x0C;  // +/- 150mV
    input.channelMask = 0x01;
    input.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 15.32};
    auto output = simModule("7342", 8);
    output.outputs[0] = 12.5;
    listed({input, output});
  }

  // Opens the monitor as the main window would and shows it with its timer
  // stopped, so that passes run only when the test calls tick().
  MonitorForm& open() {
    if (network_) network_->clearFrames();
    form_ = std::make_unique<MonitorForm>(*context_);
    form_->show();
    form_->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    return *form_;
  }
  // One pass; returns the frames it sent.
  std::vector<std::string> tick() {
    network_->clearFrames();
    form_->pollOnce();
    return framesSent();
  }

  QTableWidget& grid() const {
    return *form_->findChild<QTableWidget*>(QStringLiteral("MonitorGrid"));
  }
  QString cell(int entry, int column) const { return grid().item(entry, column)->text(); }
  QStringList live(int entry) const {
    return {cell(entry, kData), cell(entry, kInput), cell(entry, kOutput)};
  }
  QString linkStatus() const {
    return form_->findChild<QLabel*>(QStringLiteral("LinkStatus"))->text();
  }

  std::unique_ptr<MonitorForm> form_;
};

}  // namespace orvane::admin::testing
