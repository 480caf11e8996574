// Why opening a serial device was refused for want of permission, and what
// to do about it: the group that grants access when there is one, or that the
// device belongs to another user. Distributions give serial adapters to
// "dialout", "uucp" or "plugdev", and a pseudo-terminal belongs to the user
// who made it, so the answer comes from the device's owner, group and mode.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace orvane::serial {

struct DeviceAccess {
  uid_t owner = 0;
  gid_t group = 0;
  mode_t mode = 0;
  std::string ownerName;  // empty when the number has no name
  std::string groupName;
};

struct UserIdentity {
  uid_t uid = 0;
  std::vector<gid_t> groups;  // the primary group and the supplementary ones
};

// "permission denied (...)" for the device, decided as the kernel checks
// access: the owner's bits for the owner, the group's bits for a member, the
// others' bits for everyone else.
std::string permissionCause(const std::string& device, const DeviceAccess& access,
                            const UserIdentity& user);

// The device's owner, group and mode (through links); nullopt when it cannot
// be looked at.
std::optional<DeviceAccess> deviceAccess(const std::string& device);

// The effective user and groups of this process.
UserIdentity currentUser();

}  // namespace orvane::serial
