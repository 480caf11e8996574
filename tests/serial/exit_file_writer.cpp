// Writes COM.CFG and admin.map into the directory given, generation after
// generation, until it is killed.
#include <filesystem>

#include "exit_file_contents.h"
#include "serial/file_write.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path dir = argv[1];
  for (int generation = 1;; ++generation) {
    orvane::serial::writeFileAtomically(dir / "COM.CFG",
                                        orvane::serial::test::comCfgGeneration(generation));
    orvane::serial::writeFileAtomically(dir / "admin.map",
                                        orvane::serial::test::mapGeneration(generation));
  }
}
