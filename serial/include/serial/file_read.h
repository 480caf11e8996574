// Reading a file whose name the user gave us (COM.CFG, ports.conf, a network
// file): opened without blocking, so that a FIFO never holds the program;
// accepted only when it is a regular file (a link to one counts), so that a
// device such as /dev/zero never feeds it for ever; and read up to a size
// limit.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace orvane::serial {

inline constexpr std::size_t kFileSizeLimit = 1024 * 1024;

// The text names the file and the cause ("/x/COM.CFG: is not a regular file
// (a FIFO)", "/x/ports.conf: larger than 1 MB").
class FileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole content. Throws FileReadError for a missing file too.
std::string readRegularFile(const std::filesystem::path& path, std::size_t limit = kFileSizeLimit);

// The whole content, or nullopt when there is no such file (ENOENT); every
// other failure throws FileReadError.
std::optional<std::string> readRegularFileIfAny(const std::filesystem::path& path,
                                                std::size_t limit = kFileSizeLimit);

}  // namespace orvane::serial
