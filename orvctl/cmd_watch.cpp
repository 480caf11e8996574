// watch: one timestamped reading per interval until Ctrl+C, SIGTERM or the
// count. A reading that fails is a line without values; a pulled adapter is
// reported once, and the port is opened again until the line is back.
#include <chrono>

#include "commands.h"
#include "module.h"
#include "reading.h"
#include "stop_signals.h"
#include "timestamp.h"

namespace orvctl {

namespace {

using Clock = std::chrono::steady_clock;

struct WatchRequest {
  int address = 0;
  std::optional<int> channel;
  std::chrono::milliseconds interval{1000};
  long count = 0;  // 0: until stopped
};

WatchRequest watchRequest(ArgList& args) {
  WatchRequest w;
  if (auto interval = args.option("--interval"))
    w.interval = std::chrono::milliseconds(integerArgument(*interval, 1, 86400000, "--interval"));
  if (auto count = args.option("--count"))
    w.count = integerArgument(*count, 1, 1000000000, "--count");
  const auto positionals = args.positionals(1, 2);
  w.address = addressArgument(positionals[0]);
  w.channel = channelArgument(positionals, 1);
  return w;
}

// Every line has the time first and the failure last, none when the reading
// worked, so that CSV columns stay put.
Record line(Record values, const std::string& error = {}) {
  values.insert(values.begin(), {"time", isoLocalTime(std::chrono::system_clock::now()), ""});
  values.push_back({"error", error.empty() ? Value() : Value(error), ""});
  return values;
}

// The fields of the module's reading without values.
Record noValues(const Record& shape) {
  Record failed;
  for (const auto& field : shape) failed.push_back({field.name, std::monostate{}, ""});
  return failed;
}

class Watcher {
 public:
  Watcher(Context& context, const WatchRequest& w, ModuleInfo module, Record shape)
      : context_(context), w_(w), module_(std::move(module)), shape_(std::move(shape)) {}

  // One line printed, or the line tried again; false while it is down and
  // nothing was printed.
  bool tick() {
    if (lineDown_) return reconnect() && tick();
    try {
      context_.printer.next(line(readModule(context_.port(), module_, w_.channel)));
      lastError_.clear();
      return true;
    } catch (const Failure& failure) {
      if (failure.lineFailed()) {
        context_.err << "orvctl: " << failure.what()
                     << "; waiting for the line to come back (Ctrl+C ends)\n";
        lineDown_ = true;
        return false;
      }
      // A module that stays silent is told once, not at every interval.
      if (failure.what() != lastError_) context_.err << "orvctl: " << failure.what() << '\n';
      lastError_ = failure.what();
      context_.printer.next(line(noValues(shape_), failure.what()));
      return true;
    }
  }

 private:
  bool reconnect() {
    if (!context_.port().reopen()) return false;
    context_.err << "orvctl: the line is back\n";
    lineDown_ = false;
    return true;
  }

  Context& context_;
  const WatchRequest& w_;
  ModuleInfo module_;
  Record shape_;
  std::string lastError_;
  bool lineDown_ = false;
};

}  // namespace

int runWatch(Context& context, ArgList& args) {
  const WatchRequest w = watchRequest(args);
  StopSignals stop;
  ModuleInfo module = identify(context.port(), w.address);
  checkReadable(module, w.channel);
  // The first reading fixes the fields of every line; when it fails, watch
  // ends there.
  Record first = readModule(context.port(), module, w.channel);
  context.printer.next(line(first));
  Watcher watcher(context, w, std::move(module), std::move(first));
  auto due = Clock::now();
  for (long printed = 1; w.count == 0 || printed < w.count;) {
    // A reading that took longer than the interval is not caught up on.
    due = std::max(due + w.interval, Clock::now());
    if (stop.waitFor(std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now())))
      break;
    if (watcher.tick()) ++printed;
  }
  return kExitOk;
}

}  // namespace orvctl
