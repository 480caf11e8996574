#include "line_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace orvane::sim {
namespace {

bool isLinkOrMissing(const std::string& path) {
  struct stat existing {};
  return ::lstat(path.c_str(), &existing) != 0 || S_ISLNK(existing.st_mode);
}

}  // namespace

void pointLink(const std::string& path, const std::string& target) {
  if (!isLinkOrMissing(path))
    throw std::runtime_error("simulator: " + path + " exists and is not a symbolic link");
  const std::string fresh = path + ".new-" + std::to_string(::getpid());
  ::unlink(fresh.c_str());
  if (::symlink(target.c_str(), fresh.c_str()) != 0 ||
      std::rename(fresh.c_str(), path.c_str()) != 0) {
    const std::string cause = std::strerror(errno);
    ::unlink(fresh.c_str());
    throw std::runtime_error("simulator: cannot create the link " + path + ": " + cause);
  }
}

void removeLink(const std::string& path) {
  struct stat existing {};
  if (::lstat(path.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) ::unlink(path.c_str());
}

}  // namespace orvane::sim
