// A directory of the test's own under /tmp, removed with all it holds.
#pragma once

#include <stdlib.h>

#include <filesystem>

namespace orvane::serial::test {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/orvane-serial-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace orvane::serial::test
