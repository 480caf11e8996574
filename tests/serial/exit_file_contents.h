// The two generations of COM.CFG and admin.map that the crash test's writer
// alternates between: whatever moment it is killed at, each file must hold
// one of them whole.
#pragma once

#include <string>

namespace orvane::serial::test {

inline std::string comCfgGeneration(int generation) {
  return generation % 2 == 0 ? "100\r\n1\r\nn,8,1\r\n9600\r\n"
                             : "150\r\n3\r\ne,8,1\r\n4800\r\n19200\r\n115200\r\n";
}

// A map of many rows, so that a write takes long enough to be cut.
inline std::string mapGeneration(int generation) {
  std::string text = "COMPORT: COM" + std::to_string(1 + generation % 2) + "\r\n";
  const int rows = generation % 2 == 0 ? 256 : 200;
  for (int i = 0; i < rows; ++i)
    text += "  " + std::to_string(i) + "(" + std::to_string(generation % 2) +
            "H)   7213      9600   Engineering unit  +/- 150mV          \r\n";
  return text;
}

}  // namespace orvane::serial::test
