// Unloading the library releases every port still open. This program loads
// liborvio with dlopen instead of linking it, so that dlclose really unloads.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "serial/serial_port.h"
#include "sim/network.h"

namespace {

using SetPortName = uint16_t (*)(uint16_t, const char*);
using InitialComm = uint16_t (*)(uint16_t, uint16_t, uint16_t, uint16_t, uint16_t);

bool portIsFree(const std::string& path) {
  try {
    orvane::serial::SerialPort::open(path);
    return true;
  } catch (const orvane::serial::SerialError&) {
    return false;
  }
}

TEST(LibraryUnloadTest, UnloadingReleasesEveryOpenPort) {
  orvane::sim::Network first({orvane::sim::makeModule("7213", 1)});
  orvane::sim::Network second({orvane::sim::makeModule("7213", 1)});
  void* library = ::dlopen(ORVIO_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << ::dlerror();
  auto setPortName = reinterpret_cast<SetPortName>(::dlsym(library, "OV_SetPortName"));
  auto initialComm = reinterpret_cast<InitialComm>(::dlsym(library, "OV_InitialComm"));
  ASSERT_NE(setPortName, nullptr);
  ASSERT_NE(initialComm, nullptr);
  setPortName(3, first.slavePath().c_str());
  setPortName(23, second.slavePath().c_str());
  ASSERT_EQ(initialComm(3, 6, 8, 0, 0), 0);
  ASSERT_EQ(initialComm(23, 6, 8, 0, 0), 0);
  EXPECT_FALSE(portIsFree(first.slavePath()));
  EXPECT_FALSE(portIsFree(second.slavePath()));

  ASSERT_EQ(::dlclose(library), 0);
  EXPECT_TRUE(portIsFree(first.slavePath()));
  EXPECT_TRUE(portIsFree(second.slavePath()));
}

TEST(LibraryUnloadTest, OnlyTheOvFunctionsAreExported) {
  void* library = ::dlopen(ORVIO_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << ::dlerror();
  EXPECT_NE(::dlsym(library, "OV_ReadAI"), nullptr);
  EXPECT_EQ(
      ::dlsym(library, "_ZN6orvane8protocol8checksumESt17basic_string_viewIcSt11char_traitsIcEE"),
      nullptr);
  EXPECT_EQ(::dlsym(library, "_ZN6orvane6serial9configDirB5cxx11Ev"), nullptr);
  ::dlclose(library);
}

}  // namespace
