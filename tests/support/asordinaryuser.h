// File access checked as an ordinary user for as long as one of these lives (this thread only):
// root passes every permission check, and the file-system user id is the one that can be lent and
// taken back.
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <vector>

class AsOrdinaryUser {
 public:
  AsOrdinaryUser() : previous_(setfsuid(geteuid() == 0 ? kNobody : geteuid())) {}
  ~AsOrdinaryUser() { setfsuid(previous_); }
  AsOrdinaryUser(const AsOrdinaryUser&) = delete;
  AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

  // False where the id could not be lent: the checks are then root's.
  bool Active() const { return setfsuid(static_cast<uid_t>(-1)) != 0; }

  // The user lent to root.
  static constexpr uid_t kNobody = 65534;

 private:
  uid_t previous_;
};

// A group the process may give its files to other than the one its new files get: as root any
// (the "users" group, 100), else another group the user is a member of. None when the user has
// no other group.
inline std::optional<gid_t> AnotherGroupOfOurs() {
  if (geteuid() == 0) return 100;
  std::vector<gid_t> groups(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)));
  groups.resize(static_cast<size_t>(std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
  for (const gid_t group : groups) {
    if (group != getegid()) return group;
  }
  return std::nullopt;
}

// An owner other than the process that root may give a file to (nobody); the user itself otherwise.
inline uid_t AnotherOwnerWhereAllowed() { return geteuid() == 0 ? 65534 : geteuid(); }
