// COM.CFG and admin.map written by a process that is killed at random
// moments: every file read afterwards is the old or the new content whole,
// and the temporaries of killed writers do not pile up.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "exit_file_contents.h"
#include "serial/file_write.h"

namespace orvane::serial {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int temporariesIn(const fs::path& dir) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().filename().string().starts_with(".")) ++count;
  return count;
}

// 1,000 rounds for a full run (ORVANE_CRASH_ROUNDS=1000); fewer in CI.
int rounds() {
  const char* text = std::getenv("ORVANE_CRASH_ROUNDS");
  return text && std::atoi(text) > 0 ? std::atoi(text) : 60;
}

TEST(CrashDuringWrite, EveryFileIsTheOldOrTheNewContentWhole) {
  const fs::path dir = fs::temp_directory_path() / ("orvane-crash-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  writeFileAtomically(dir / "COM.CFG", test::comCfgGeneration(0));
  writeFileAtomically(dir / "admin.map", test::mapGeneration(0));
  const std::string comCfg[] = {test::comCfgGeneration(0), test::comCfgGeneration(1)};
  const std::string map[] = {test::mapGeneration(0), test::mapGeneration(1)};

  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> killAfterUs(0, 4000);
  int mixed = 0;
  int mostTemporaries = 0;
  for (int round = 0; round < rounds(); ++round) {
    pid_t child = 0;
    std::string dirText = dir.string();
    char* argv[] = {const_cast<char*>(ORVANE_EXIT_FILE_WRITER), dirText.data(), nullptr};
    ASSERT_EQ(::posix_spawn(&child, ORVANE_EXIT_FILE_WRITER, nullptr, nullptr, argv, environ), 0);
    std::this_thread::sleep_for(std::chrono::microseconds(killAfterUs(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << status;

    const std::string cfg = contentOf(dir / "COM.CFG");
    const std::string mapText = contentOf(dir / "admin.map");
    if (cfg != comCfg[0] && cfg != comCfg[1]) ++mixed;
    if (mapText != map[0] && mapText != map[1]) ++mixed;
    mostTemporaries = std::max(mostTemporaries, temporariesIn(dir));
  }
  EXPECT_EQ(mixed, 0) << "files cut or mixed in " << rounds() << " kills";
  EXPECT_LE(mostTemporaries, 2) << "one left-over per file at most";
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orvane::serial
