// What a file that is not a regular file is, for the messages that refuse it.
#pragma once

#include <sys/stat.h>

#include <string>

namespace orvane::serial {

inline std::string fileKindText(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a file";
}

}  // namespace orvane::serial
