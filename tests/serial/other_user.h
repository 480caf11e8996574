// A user who may not write what the test made. Root may write anything, so a
// test running as root takes nobody's effective user and group for the step
// that must meet a refusal; any other user already is one whose rights the
// modes of the files decide, and nothing changes.
#pragma once

#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

namespace orvane::serial::test {

inline bool runningAsRoot() { return ::geteuid() == 0; }

class OtherUser {
 public:
  OtherUser() : root_(runningAsRoot()) {
    if (!root_) return;
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    switched_ = ::setegid(gid) == 0 && ::seteuid(uid) == 0;
  }
  ~OtherUser() {
    if (root_) static_cast<void>(::seteuid(0) == 0 && ::setegid(0) == 0);
  }
  OtherUser(const OtherUser&) = delete;
  OtherUser& operator=(const OtherUser&) = delete;

  // False when root could not give up its rights: the step proves nothing.
  bool active() const { return !root_ || switched_; }

 private:
  bool root_;
  bool switched_ = false;
};

}  // namespace orvane::serial::test
