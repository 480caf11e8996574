// A record that grows while a window runs (the monitor's record): opened
// without blocking, each append one write(2) straight to the file, so that
// what was appended is in the file even when the program dies the next
// moment. Only a regular file the user may write is taken: a FIFO or a
// device is refused at once, never waited for, and a read-only file stays
// as it is.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::admin {

class RecordFile {
 public:
  // What an opened file holds already.
  enum class Content { Empty, Record, Other };

  RecordFile() = default;
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // Opens the file for appending, created when missing. Returns the cause
  // when it cannot be taken ("is not a regular file", "is read-only", the
  // system's text), an empty text on success.
  std::string open(const std::filesystem::path& path);
  void close();
  bool isOpen() const { return fd_ >= 0; }

  // Empty, a record whose first line is the header (its line end aside), or
  // anything else.
  Content content(std::string_view header) const;
  // Empties the file; returns the cause of a failure.
  std::string replace();
  // Appends the text whole; returns the cause of a failure, after which the
  // file is cut back to where it ended, so that it never ends in half a row.
  std::string append(std::string_view text);

 private:
  int fd_ = -1;
};

}  // namespace orvane::admin
