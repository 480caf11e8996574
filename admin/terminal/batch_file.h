// A batch file: one command per line, lines ended by CR LF (or LF alone, as
// Linux editors write them) or by the end of the file. There is no comment
// syntax: every line is sent as it stands, an empty line as an empty command.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace orvane::admin {

class BatchFile {
 public:
  // A longer line is cut to this many characters; the rest of it is skipped,
  // so the next line is still the next command.
  static constexpr std::size_t kMaxLineLength = 4096;

  BatchFile() = default;
  ~BatchFile();
  BatchFile(const BatchFile&) = delete;
  BatchFile& operator=(const BatchFile&) = delete;

  // Opens the file for reading from its first line; false when it cannot be
  // read (missing, no permission) or is no regular file: a FIFO, a device or
  // a directory would block the terminal or never end.
  bool open(const std::filesystem::path& path);
  void close();
  bool isOpen() const { return fd_ >= 0; }
  // True when no line is left (also when the file is closed).
  bool atEnd();
  // The next line without its line end; empty at the end of the file.
  std::string readLine();
  // Back to the first line.
  void rewind();
  // Reads and drops up to n lines.
  void skipLines(int n);
  // Every line from the current one to the end.
  std::vector<std::string> readToEnd();

 private:
  // The next character, or -1 at the end of the file or on a read error.
  int peek();
  int get();

  int fd_ = -1;
  std::array<char, 4096> buffer_{};
  std::size_t next_ = 0;  // buffer_[next_, filled_) is read but not consumed
  std::size_t filled_ = 0;
};

}  // namespace orvane::admin
