#include "admin/core/network_scan.h"

#include <algorithm>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/module_reader.h"
#include "protocol/catalogue.h"

namespace orvane::admin {

namespace {

class Scan {
 public:
  Scan(AdminContext& context, const ScanHooks& hooks) : context_(context), hooks_(hooks) {}

  LinkTask<ScanOutcome> run() {
    held_ = ModuleEntry{};
    held_.Address = -1;
    context_.InitModuleIndex = -1;
    if (context_.ComPort >= 1 && context_.ComPort <= kComPortCount)
      flags_ = searchedRates();
    else
      lineError_ = "COM" + std::to_string(context_.ComPort) + ": no such port";
    int count = 0;
    for (int address = 0; address <= context_.SearchHiAddress && !hooks_.stopRequested();
         ++address) {
      hooks_.showAddress(address);
      if (address == held_.Address)
        placeHeld(count);
      else
        co_await probeAndRead(address, count);
      hooks_.yield();
    }
    context_.ModuleCount = count;
    co_return ScanOutcome{count, lineError_};
  }

 private:
  // The module in its initialization state answered at 00 but belongs at
  // its stored address: it takes that place in the list, which stays in
  // address order, and the address itself is not probed.
  void placeHeld(int& count) {
    context_.ModuleList.at(static_cast<std::size_t>(count)) = held_;
    context_.InitModuleIndex = count;
    hooks_.appendRow(count);
    ++count;
  }

  // A module whose reading a Stop cut short is not listed: its entry would
  // show settings it never reported.
  LinkTask<void> probeAndRead(int address, int& count) {
    const auto probe = co_await probeAddress(address);
    if (!probe) co_return;
    const auto stopped = [this] { return stoppedWithinAddress(); };
    if (address == 0) {
      held_ = ModuleEntry{};
      co_await readModuleAsync(context_, *probe, held_, stopped);
      if (stopped()) held_.Address = -1;
      if (held_.Address == 0) placeHeld(count);
      co_return;
    }
    auto& entry = context_.ModuleList.at(static_cast<std::size_t>(count));
    entry = ModuleEntry{};
    co_await readModuleAsync(context_, *probe, entry, stopped);
    if (stopped()) co_return;
    hooks_.appendRow(count);
    ++count;
  }

  std::array<int, kBaudCodeCount> searchedRates() const {
    if (!context_.OrvComm.fixedSpeed(context_.ComPort))
      return context_.portSetting(context_.ComPort).SearchFlags;
    std::array<int, kBaudCodeCount> speed{};
    speed[static_cast<std::size_t>(fixedSpeedBaudCode(context_, context_.ComPort))] = 1;
    return speed;
  }

  // The first baud rate and checksum setting at which the address answers
  // "$AA2" with a configuration reply.
  // A started address is finished before Stop is read while the scan holds
  // the GUI thread, so that a click is served only between addresses. With
  // the line worker threaded the window answers throughout, and Stop is
  // obeyed at the next exchange (a settle pause in progress is cut short).
  bool stoppedWithinAddress() const { return context_.line().threaded() && hooks_.stopRequested(); }

  LinkTask<std::optional<ProbeResult>> probeAddress(int address) {
    const std::string command = "$" + Hex2(static_cast<unsigned>(address)) + "2";
    for (int baudCode = 0; baudCode < kBaudCodeCount; ++baudCode) {
      if (flags_[static_cast<std::size_t>(baudCode)] != 1) continue;
      hooks_.showBaudRate(protocol::baudRateOf(baudCode));
      for (int checksumFlag = 0; checksumFlag <= 1; ++checksumFlag) {
        if (stoppedWithinAddress()) co_return std::nullopt;
        context_.LastCommand = command;
        const bool ok =
            co_await ExchangeAsync(context_, {checksumFlag, baudCode}, 0, context_.ReplyTimeout);
        noteError(context_.LastLinkError);
        if (checksumFlag == 1) hooks_.yield();
        if (ok && isConfigReply(context_.LastReply))
          co_return ProbeResult{address, baudCode, checksumFlag, context_.LastReply};
      }
    }
    co_return std::nullopt;
  }

  void noteError(const std::string& error) {
    if (lineError_.empty()) lineError_ = error;
  }

  AdminContext& context_;
  const ScanHooks& hooks_;
  ModuleEntry held_;
  std::array<int, kBaudCodeCount> flags_{};
  std::string lineError_;
};

}  // namespace

bool isConfigReply(const std::string& reply) {
  return reply.starts_with('!') && (reply.size() == 9 || reply.size() == 11);
}

LinkTask<ScanOutcome> networkScan(AdminContext& context, ScanHooks hooks) {
  Scan scan(context, hooks);
  co_return co_await scan.run();
}

ScanOutcome runNetworkScan(AdminContext& context, const ScanHooks& hooks) {
  return RunSequence(networkScan(context, hooks));
}

std::optional<std::string> fixedSpeedSearchNote(const AdminContext& context) {
  const int com = context.ComPort;
  if (!context.OrvComm.fixedSpeed(com)) return std::nullopt;
  const auto& flags = context.portSetting(com).SearchFlags;
  if (std::count(flags.begin(), flags.end(), 1) < 2) return std::nullopt;
  return "COM" + std::to_string(com) +
         " is a network line at a fixed speed; the search covers only its speed";
}

}  // namespace orvane::admin
