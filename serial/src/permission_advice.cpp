#include "serial/permission_advice.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace orvane::serial {

namespace {

constexpr mode_t kReadWrite = 06;

bool grants(mode_t mode, int shift) { return ((mode >> shift) & kReadWrite) == kReadWrite; }

std::string named(const std::string& name, unsigned number) {
  return name.empty() ? std::to_string(number) : name;
}

std::string octal(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

std::string describe(const DeviceAccess& access) {
  return "owner " + named(access.ownerName, access.owner) + ", group " +
         named(access.groupName, access.group) + ", mode " + octal(access.mode);
}

// A name looked up with the reentrant calls: other threads may look up names
// at the same time.
template <typename Entry, typename Lookup, typename Field>
std::string lookUp(unsigned id, Lookup lookup, Field field) {
  Entry entry{};
  Entry* found = nullptr;
  std::vector<char> buffer(4096);
  if (lookup(id, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
  return found->*field;
}

}  // namespace

std::string permissionCause(const std::string& device, const DeviceAccess& access,
                            const UserIdentity& user) {
  const std::string denied = "permission denied (";
  const std::string otherUser = denied + device + " belongs to another user, " +
                                named(access.ownerName, access.owner) +
                                ", and only that user may open it)";
  const bool member =
      std::find(user.groups.begin(), user.groups.end(), access.group) != user.groups.end();
  // Where the mode would let us in, something else refuses (an ACL, a
  // security module): say what the device looks like.
  const std::string unexplained = denied + describe(access) + ")";
  if (user.uid == 0) return unexplained;
  if (user.uid == access.owner)
    return grants(access.mode, 6) ? unexplained
                                  : denied + device + " is yours, but its mode " +
                                        octal(access.mode) + " does not let you read and write it)";
  if (member) return grants(access.mode, 3) ? unexplained : otherUser;
  if (grants(access.mode, 0)) return unexplained;
  // Group 0 is no group a user should join.
  if (grants(access.mode, 3) && access.group != 0)
    return denied + device + " belongs to group " + named(access.groupName, access.group) +
           ": add your user to it, then log in again)";
  return otherUser;
}

std::optional<DeviceAccess> deviceAccess(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return std::nullopt;
  DeviceAccess access{info.st_uid, info.st_gid, info.st_mode, {}, {}};
  access.ownerName = lookUp<passwd>(info.st_uid, ::getpwuid_r, &passwd::pw_name);
  access.groupName = lookUp<group>(info.st_gid, ::getgrgid_r, &group::gr_name);
  return access;
}

UserIdentity currentUser() {
  UserIdentity user{::geteuid(), {::getegid()}};
  const int count = ::getgroups(0, nullptr);
  if (count > 0) {
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    if (got > 0) user.groups.insert(user.groups.end(), groups.begin(), groups.begin() + got);
  }
  return user;
}

}  // namespace orvane::serial
