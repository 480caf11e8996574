// COM.CFG, the port settings file in the config directory: reply time-out,
// COM port, "parity,8,1", then one searched baud rate per line; CR LF.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvane::admin {

class AdminContext;

std::filesystem::path comCfgPath(const AdminContext& context);

// A file that cannot be read, a line that is not what it must be, a number
// that does not fit: the start-up error path.
class ComCfgError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ComCfgContent {
  int timeout = 0;
  int port = 0;
  std::vector<int> baudRates;  // lines 4 onward; lines that are no number are left out
};

// Parses the text of COM.CFG (CR LF or LF line ends). Throws ComCfgError,
// whose text quotes at most 80 characters of a line.
ComCfgContent parseComCfg(const std::string& text);
// The file parsed; nullopt when there is none. A file that is there but is no
// regular file, is larger than 1 MB or cannot be read throws ComCfgError:
// it is opened without blocking, so a FIFO never holds the start.
std::optional<ComCfgContent> readComCfg(const std::filesystem::path& path);

// The file as exit writes it, for the current ComPort and its settings.
std::string comCfgText(const AdminContext& context);

}  // namespace orvane::admin
