// The permission message names the real cause: the group that grants access,
// or the user the device belongs to. The tests run as root, where opening
// never fails this way, so the decision is checked from the facts alone.
#include "serial/permission_advice.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace orvane::serial {
namespace {

constexpr uid_t kRoot = 0, kAlice = 1000, kBob = 1001;
constexpr gid_t kRootGroup = 0, kDialout = 20, kUucp = 14, kTty = 5, kBobs = 1001;

struct Case {
  const char* name;
  DeviceAccess device;
  UserIdentity user;
  const char* cause;
};

const Case kCases[] = {
    {"GroupDialoutGrantsAccess",
     {kRoot, kDialout, 020660, "root", "dialout"},
     {kBob, {kBobs}},
     "permission denied (/dev/ttyUSB0 belongs to group dialout: add your user to it, then log in "
     "again)"},
    {"GroupUucpGrantsAccess",
     {kRoot, kUucp, 020660, "root", "uucp"},
     {kBob, {kBobs, kTty}},
     "permission denied (/dev/ttyUSB0 belongs to group uucp: add your user to it, then log in "
     "again)"},
    {"AGroupWithoutANameIsNamedByNumber",
     {kRoot, 986, 020660, "root", ""},
     {kBob, {kBobs}},
     "permission denied (/dev/ttyUSB0 belongs to group 986: add your user to it, then log in "
     "again)"},
    {"APseudoTerminalOfAnotherUser",
     {kAlice, kTty, 020620, "alice", "tty"},
     {kBob, {kBobs}},
     "permission denied (/dev/ttyUSB0 belongs to another user, alice, and only that user may open "
     "it)"},
    {"APseudoTerminalOfAnotherUserForAMemberOfTty",
     {kAlice, kTty, 020620, "alice", "tty"},
     {kBob, {kBobs, kTty}},
     "permission denied (/dev/ttyUSB0 belongs to another user, alice, and only that user may open "
     "it)"},
    {"TheRootGroupIsNoGroupToJoin",
     {kRoot, kRootGroup, 020660, "root", "root"},
     {kBob, {kBobs}},
     "permission denied (/dev/ttyUSB0 belongs to another user, root, and only that user may open "
     "it)"},
    {"AnOwnerWithoutANameIsNamedByNumber",
     {4242, kTty, 020600, "", "tty"},
     {kBob, {kBobs}},
     "permission denied (/dev/ttyUSB0 belongs to another user, 4242, and only that user may open "
     "it)"},
    {"TheUsersOwnDeviceWithoutReadAndWrite",
     {kBob, kDialout, 020460, "bob", "dialout"},
     {kBob, {kBobs, kDialout}},
     "permission denied (/dev/ttyUSB0 is yours, but its mode 0460 does not let you read and write "
     "it)"},
    {"AMemberWhomTheModeLetsInIsRefusedBySomethingElse",
     {kRoot, kDialout, 020660, "root", "dialout"},
     {kBob, {kBobs, kDialout}},
     "permission denied (owner root, group dialout, mode 0660)"},
    {"TheOwnerWhomTheModeLetsIn",
     {kBob, kBobs, 020600, "bob", "bob"},
     {kBob, {kBobs}},
     "permission denied (owner bob, group bob, mode 0600)"},
    {"EveryoneMayReadAndWrite",
     {kRoot, kDialout, 020666, "root", "dialout"},
     {kBob, {kBobs}},
     "permission denied (owner root, group dialout, mode 0666)"},
    {"RootIsNeverRefusedByTheMode",
     {kAlice, kTty, 020600, "alice", "tty"},
     {kRoot, {kRootGroup}},
     "permission denied (owner alice, group tty, mode 0600)"},
};

class PermissionCause : public ::testing::TestWithParam<Case> {};

TEST_P(PermissionCause, NamesTheGroupOrTheOwner) {
  const Case& c = GetParam();
  EXPECT_EQ(permissionCause("/dev/ttyUSB0", c.device, c.user), c.cause);
}

INSTANTIATE_TEST_SUITE_P(Devices, PermissionCause, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PermissionFacts, AreThoseOfTheDeviceAndOfThisProcess) {
  const std::string path = ::testing::TempDir() + "orvane-permission-" + std::to_string(::getpid());
  std::FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
  const auto access = deviceAccess(path);
  std::remove(path.c_str());
  ASSERT_TRUE(access);
  EXPECT_EQ(access->mode & 07777, 0604u);
  EXPECT_EQ(access->owner, ::geteuid());
  EXPECT_FALSE(deviceAccess(path));

  const UserIdentity user = currentUser();
  EXPECT_EQ(user.uid, ::geteuid());
  EXPECT_NE(std::find(user.groups.begin(), user.groups.end(), ::getegid()), user.groups.end());
}

}  // namespace
}  // namespace orvane::serial
