#include "admin/terminal/batch_file.h"

#include <system_error>

namespace orvane::admin {

bool BatchFile::open(const std::filesystem::path& path) {
  close();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  stream_.open(path, std::ios::binary);
  return stream_.is_open();
}

void BatchFile::close() {
  if (stream_.is_open()) stream_.close();
  stream_.clear();
}

bool BatchFile::atEnd() {
  return !stream_.is_open() || stream_.peek() == std::ifstream::traits_type::eof();
}

std::string BatchFile::readLine() {
  std::string line;
  if (atEnd()) return line;
  std::getline(stream_, line, '\n');
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void BatchFile::rewind() {
  stream_.clear();
  stream_.seekg(0);
}

void BatchFile::skipLines(int n) {
  for (int i = 0; i < n && !atEnd(); ++i) readLine();
}

std::vector<std::string> BatchFile::readToEnd() {
  std::vector<std::string> lines;
  while (!atEnd()) lines.push_back(readLine());
  return lines;
}

}  // namespace orvane::admin
