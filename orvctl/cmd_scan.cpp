// scan: the baud rates outside, the addresses inside, so that the line
// settles once per rate; each address is probed plainly and then with a
// checksum, and an address that answered is not probed again at a later
// rate.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <set>
#include <sstream>

#include "commands.h"
#include "module.h"
#include "numbers.h"
#include "orvio.h"
#include "scan_progress.h"
#include "stop_signals.h"

namespace orvctl {

namespace {

constexpr long kDefaultSettleMs = 1000;

struct ScanRange {
  int from = 0, to = 255;
  std::vector<long> rates;
  long settleMs = kDefaultSettleMs;
};

std::vector<long> baudList(const std::string& text) {
  std::vector<long> rates;
  std::stringstream list(text);
  std::string item;
  while (std::getline(list, item, ',')) {
    if (item.empty()) continue;
    const long rate = baudArgument(item);
    if (std::find(rates.begin(), rates.end(), rate) == rates.end()) rates.push_back(rate);
  }
  if (rates.empty()) throw UsageError("scan: --baud needs a list of rates such as 9600,19200");
  return rates;
}

ScanRange scanRange(Context& context, ArgList& args) {
  ScanRange range;
  if (auto from = args.option("--from")) range.from = addressArgument(*from, "--from");
  if (auto to = args.option("--to")) range.to = addressArgument(*to, "--to");
  if (auto baud = args.option("--baud"))
    range.rates = baudList(*baud);
  else
    range.rates = {context.options.baudRate};
  if (auto settle = args.option("--settle"))
    range.settleMs = integerArgument(*settle, 0, 60000, "--settle");
  args.positionals(0, 0);
  if (range.from > range.to) args.fail("--from is above --to");
  return range;
}

// A reply to "$AA2" that is a module's configuration: "!" and 8 or 10
// characters.
bool isConfiguration(const std::string& reply) {
  return !reply.empty() && reply[0] == '!' && (reply.size() == 9 || reply.size() == 11);
}

// Whether a module answers at the address: nullopt for none, else whether
// it needs the checksum. A module at 00 never uses one.
std::optional<bool> probe(Port& port, int address) {
  char command[8];
  std::snprintf(command, sizeof command, "$%02X2", address);
  for (bool checksum : {false, true}) {
    if (checksum && address == 0) break;
    port.setChecksum(checksum);
    char reply[30] = "";
    const std::uint16_t status = OV_SendCommand(port.slot(), command, reply);
    if (status == OV_IO_ERROR) port.check(status);
    if (status == OV_SUCCESS && isConfiguration(reply)) return checksum;
  }
  return std::nullopt;
}

Record scanRecord(const ModuleInfo& m, long baudRate, bool checksum) {
  return {
      {"address", static_cast<long long>(m.address), ""},
      {"model", m.model, ""},
      {"baud", static_cast<long long>(baudRate), ""},
      {"checksum", checksum, ""},
      {"range", m.range.empty() ? Value() : Value(m.range), ""},
      {"format", m.analog() ? Value(std::string(formatName(m.config.dataFormat))) : Value(), ""},
      {"firmware", m.firmware ? Value(*m.firmware) : Value(), ""},
      {"storedAddress", static_cast<long long>(m.config.address), ""},
      {"initState", m.initState(), ""},
  };
}

struct Found {
  std::vector<Record> rows;
  std::set<int> addresses;
};

// One rate over the range; false when a stop signal ended it.
bool scanRate(Context& context, const ScanRange& range, long rate, StopSignals& stop,
              ScanProgress& progress, Found& found) {
  Port& port = context.port();
  // A line at a fixed speed runs at its own rate whatever is asked.
  const std::string note = port.setBaudRate(rate);
  if (!note.empty()) {
    progress.clear();
    context.err << "orvctl: " << note << '\n';
  }
  if (stop.waitFor(std::chrono::milliseconds(range.settleMs))) return false;
  for (int address = range.from; address <= range.to; ++address) {
    if (stop.stopped()) return false;
    if (found.addresses.count(address)) continue;
    progress.show(rate, address, range.from, range.to, found.rows.size());
    const auto checksum = probe(port, address);
    if (!checksum) continue;
    try {
      found.rows.push_back(scanRecord(identify(port, address), rate, *checksum));
      found.addresses.insert(address);
    } catch (const Failure& failure) {
      if (failure.lineFailed()) throw;
      // It answered the probe but not what followed: say so, and go on.
      progress.clear();
      context.err << "orvctl: module " << address << " at " << rate
                  << " bps answered, then failed: " << failure.what() << '\n';
    }
  }
  return true;
}

}  // namespace

int runScan(Context& context, ArgList& args) {
  const ScanRange range = scanRange(context, args);
  context.port();
  StopSignals stop;
  Found found;
  bool complete = true;
  {
    ScanProgress progress(::isatty(STDERR_FILENO) == 1, context.err);
    try {
      for (long rate : range.rates)
        if (!(complete = scanRate(context, range, rate, stop, progress, found))) break;
    } catch (const Failure&) {
      progress.clear();
      context.printer.table(found.rows);
      throw;
    }
  }
  context.printer.table(found.rows);
  if (!complete) {
    context.err << "orvctl: scan stopped; the list holds the modules found until then\n";
    return 128 + stop.signal();
  }
  if (!found.rows.empty()) return kExitOk;
  context.err << "orvctl: no module answered from address " << range.from << " to " << range.to
              << " (check the wiring and the rates: --baud 9600,19200,115200 tries several)\n";
  return kExitModule;
}

}  // namespace orvctl
