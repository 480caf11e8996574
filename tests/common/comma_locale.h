// Runs a test under the decimal-comma locale de_DE.UTF-8 that the build
// generated into its own tree, as a program does after setlocale(LC_ALL, "")
// on a German desktop: printf writes 12,5 and strtod stops at a ".".
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvane::test {

class CommaLocale {
 public:
  CommaLocale() {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    previous_ = previous ? previous : "C";
    ::setenv("LOCPATH", ORVANE_TEST_LOCPATH, 1);
    active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  }
  ~CommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  // True when the locale is in force and really writes a decimal comma.
  bool active() const {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    return active_ && std::string(text) == "1,5";
  }

 private:
  std::string previous_;
  bool active_ = false;
};

}  // namespace orvane::test
