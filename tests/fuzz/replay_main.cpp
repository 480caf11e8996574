// Replays inputs through a harness's LLVMFuzzerTestOneInput without libFuzzer:
// every file of the directories (or the files) named on the command line, in
// name order. A harness that finds a fault aborts, which fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const fs::path& place) {
  std::vector<fs::path> inputs;
  if (fs::is_directory(place)) {
    for (const auto& entry : fs::directory_iterator(place))
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
  } else if (fs::is_regular_file(place)) {
    inputs.push_back(place);
  }
  return inputs;
}

std::vector<std::uint8_t> contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const auto more = inputsOf(argv[i]);
    inputs.insert(inputs.end(), more.begin(), more.end());
  }
  // An empty or missing corpus would pass without testing anything.
  if (inputs.empty()) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR_OR_FILE...: no inputs found\n", argv[0]);
    return 2;
  }
  for (const auto& path : inputs) {
    // Named first, so that the input of a crash is the last name printed.
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    const auto bytes = contentOf(path);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
