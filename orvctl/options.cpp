#include "options.h"

#include "numbers.h"

namespace orvctl {

namespace {

bool isOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// A negative number is a value, not an option.
bool isNumber(const std::string& arg) { return typedNumber(arg).has_value(); }

std::string takeValue(const std::vector<std::string>& argv, std::size_t& i) {
  if (i + 1 >= argv.size()) throw UsageError(argv[i] + " needs a value");
  return argv[++i];
}

OutputFormat setFormat(OutputFormat current, OutputFormat wanted) {
  if (current != OutputFormat::Text && current != wanted)
    throw UsageError("--json and --csv exclude each other");
  return wanted;
}

// Takes the global option at argv[i] and its value; false when it is none.
bool takeGlobal(const std::vector<std::string>& argv, std::size_t& i, Invocation& inv) {
  const std::string& arg = argv[i];
  if (arg == "-h" || arg == "--help") {
    inv.help = true;
  } else if (arg == "--version") {
    inv.version = true;
  } else if (arg == "-p") {
    inv.global.port = takeValue(argv, i);
  } else if (arg == "-b") {
    inv.global.baudRate = baudArgument(takeValue(argv, i));
  } else if (arg == "-t") {
    inv.global.timeoutMs = integerArgument(takeValue(argv, i), 1, 32767, "-t");
  } else if (arg == "--checksum") {
    inv.global.checksum = true;
  } else if (arg == "--json") {
    inv.global.format = setFormat(inv.global.format, OutputFormat::Json);
  } else if (arg == "--csv") {
    inv.global.format = setFormat(inv.global.format, OutputFormat::Csv);
  } else if (arg == "--trace") {
    inv.global.traceFile = takeValue(argv, i);
  } else {
    return false;
  }
  return true;
}

}  // namespace

Invocation parseInvocation(const std::vector<std::string>& argv) {
  Invocation inv;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    // The global options may also follow the command, except where the
    // command has one of the same name.
    const bool commandsOwn = inv.command == "config" && argv[i] == "--checksum";
    if (!commandsOwn && takeGlobal(argv, i, inv)) continue;
    if (!inv.command.empty())
      inv.args.push_back(argv[i]);
    else if (isOption(argv[i]))
      throw UsageError("unknown option " + argv[i]);
    else
      inv.command = argv[i];
  }
  if (!inv.help && !inv.version && inv.command.empty()) throw UsageError("no command given");
  return inv;
}

std::optional<std::string> ArgList::option(std::string_view name) {
  for (std::size_t i = 0; i < args_.size(); ++i) {
    const std::string& arg = args_[i];
    if (arg == name) {
      if (i + 1 >= args_.size()) fail(arg + " needs a value");
      std::string value = args_[i + 1];
      args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i),
                  args_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      return value;
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
        arg[name.size()] == '=') {
      std::string value = arg.substr(name.size() + 1);
      args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(i));
      return value;
    }
  }
  return std::nullopt;
}

bool ArgList::flag(std::string_view name) {
  for (auto it = args_.begin(); it != args_.end(); ++it) {
    if (*it != name) continue;
    args_.erase(it);
    return true;
  }
  return false;
}

std::vector<std::string> ArgList::positionals(std::size_t min, std::size_t max) {
  for (const auto& arg : args_)
    if (isOption(arg) && !isNumber(arg)) fail("unknown option " + arg);
  if (args_.size() < min) fail("too few arguments");
  if (args_.size() > max) fail("too many arguments (" + args_[max] + ")");
  return args_;
}

void ArgList::fail(const std::string& what) const { throw UsageError(command_ + ": " + what); }

int addressArgument(const std::string& text, const std::string& name) {
  const auto value = integerIn(text, 0, 255);
  if (!value)
    throw UsageError(name + " " + text + " is no module address (0 to 255, or 0x00 to 0xFF)");
  return static_cast<int>(*value);
}

long integerArgument(const std::string& text, long min, long max, const std::string& name) {
  const auto value = integerIn(text, min, max);
  if (!value)
    throw UsageError(name + " " + text + " is not a whole number from " + std::to_string(min) +
                     " to " + std::to_string(max));
  return *value;
}

long baudArgument(const std::string& text) {
  const auto rate = integerIn(text, 1, 1000000);
  if (!rate || !baudCodeOf(*rate))
    throw UsageError("baud rate " + text + " is none of " + baudRateList());
  return *rate;
}

const char* usageText() {
  return R"(usage: orvctl [-p PORT] [-b BAUD] [-t MS] [--checksum] [--json | --csv]
              [--trace FILE] COMMAND [ARGS]

The options may also follow the command (but "config --checksum on|off" is
the command's).

Drives Orvane remote I/O modules on an RS-485/RS-422 line through liborvio.

options:
  -p PORT       COM0..COM23 (ports.conf names their devices), a device path, or
                a network line rfc2217://HOST:PORT or socket://HOST:PORT
                (default COM1)
  -b BAUD       1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200
                (default 9600)
  -t MS         reply time-out in milliseconds (default 100); a configuration
                change waits four times as long
  --checksum    frames of "send" carry a checksum (the other commands find
                out whether a module uses one)
  --json        one JSON document (watch: one JSON object per line)
  --csv         a header line, then one line per module or reading
  --trace FILE  the line trace, as ORVANE_TRACE=FILE
  -h, --help    this text
  --version     the version

commands:
  scan [--from A] [--to B] [--baud LIST] [--settle MS]
                find the modules: every rate of LIST (default -b), every
                address from A to B (default 0 to 255)
  info ADDR     model, firmware and configuration of one module
  read ADDR [CH]
                inputs by the module's model: analog channels, digital
                inputs, counters
  write ADDR VALUE [--channel N]
  write ADDR --do HEX [--group G]
                an analog output value, or the digital outputs
  config ADDR [--address N] [--range CODE] [--format F] [--baud B]
              [--checksum on|off]
                change the configuration; without changes show it
  watch ADDR [CH] [--interval MS] [--count N]
                one timestamped reading per interval (default 1000 ms) until
                Ctrl+C, SIGTERM or N readings
  send FRAME    one raw command such as "$01M"; its reply as received

ADDR is decimal (0 to 255) or hexadecimal (0x00 to 0xFF).
exit status: 0 success, 1 the module did not answer or refused,
2 usage error, 3 the port cannot be opened or the line failed.
)";
}

}  // namespace orvctl
