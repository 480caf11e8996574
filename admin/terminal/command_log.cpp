#include "admin/terminal/command_log.h"

#include <cerrno>
#include <cstring>

#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

std::string lastCause() { return std::strerror(errno); }

}  // namespace

std::string CommandLog::create(const std::filesystem::path& path) {
  close();
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return errno != 0 ? lastCause() : std::string("cannot be created");
  file_.reset(file);
  return {};
}

void CommandLog::close() { file_.reset(); }

std::string CommandLog::writeLine(std::string_view command) {
  if (!file_) return {};
  std::string line(protocol::trimmed(command));
  line += "\r\n";
  errno = 0;
  if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size() ||
      std::fflush(file_.get()) != 0)
    return errno != 0 ? lastCause() : std::string("write failed");
  return {};
}

}  // namespace orvane::admin
