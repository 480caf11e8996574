// A batch file: one command per line, lines ended by CR LF (or LF alone, as
// Linux editors write them) or by the end of the file. There is no comment
// syntax: every line is sent as it stands, an empty line as an empty command.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orvane::admin {

class BatchFile {
 public:
  // Opens the file for reading from its first line; false when it cannot be
  // read (missing, a directory, no permission).
  bool open(const std::filesystem::path& path);
  void close();
  bool isOpen() const { return stream_.is_open(); }
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
  std::ifstream stream_;
};

}  // namespace orvane::admin
