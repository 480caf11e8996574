// The terminal's command log: one line per command sent, trimmed, ended by
// CR LF, replies left out, so that a log can be replayed as a batch file.
// Every line is flushed as it is written: a crash never loses a command that
// already went out.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace orvane::admin {

class CommandLog {
 public:
  // Creates the file anew (an existing one is emptied). Returns the cause
  // when it cannot be created, an empty text on success.
  std::string create(const std::filesystem::path& path);
  void close();
  bool isOpen() const { return file_ != nullptr; }
  // Writes one line; returns the cause when the write fails, else empty.
  std::string writeLine(std::string_view command);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace orvane::admin
