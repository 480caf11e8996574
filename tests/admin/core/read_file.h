#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace orvane::admin::testing {

// The bytes of a file; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

}  // namespace orvane::admin::testing
