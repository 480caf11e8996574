// The batch file reader on a temporary file holding the input: every line of
// the file, CR of its line end dropped and cut to the longest line, in order,
// whether read one by one, skipped to or read to the end.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "admin/terminal/batch_file.h"
#include "fuzz_check.h"

namespace {

using orvane::admin::BatchFile;
using orvane::fuzz::require;

// One file per process, removed at exit.
class TemporaryFile {
 public:
  TemporaryFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-batch-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    require(fd >= 0, "a temporary file can be made");
    ::close(fd);
    path_ = pattern;
  }
  ~TemporaryFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

  void write(std::string_view content) const {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    require(fd >= 0, "the temporary file can be written");
    std::size_t done = 0;
    while (done < content.size()) {
      const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
      require(n > 0, "the temporary file takes the input");
      done += static_cast<std::size_t>(n);
    }
    ::close(fd);
  }

 private:
  std::filesystem::path path_;
};

std::vector<std::string> expectedLines(std::string_view content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line.substr(0, BatchFile::kMaxLineLength));
    start = end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const TemporaryFile file;
  const std::string_view content = orvane::fuzz::textOf(data, size);
  file.write(content);
  const auto expected = expectedLines(content);

  BatchFile batch;
  require(batch.open(file.path()), "a regular file opens");
  std::vector<std::string> stepped;
  while (!batch.atEnd()) stepped.push_back(batch.readLine());
  require(stepped == expected, "the lines are read one by one");
  require(batch.readLine().empty(), "nothing after the end");

  batch.rewind();
  require(batch.readToEnd() == expected, "the lines are read to the end");

  const int skip = size ? data[0] % 8 : 0;
  batch.rewind();
  batch.skipLines(skip);
  const auto skipped = static_cast<std::size_t>(skip);
  require(batch.atEnd() == (skipped >= expected.size()), "skipping stops at the end");
  if (skipped < expected.size()) require(batch.readLine() == expected[skipped], "skipped to");
  return 0;
}
