// File access checked as an ordinary user for as long as one of these lives (this thread only):
// root passes every permission check, and the file-system user id is the one that can be lent and
// taken back.
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

class AsOrdinaryUser {
 public:
  AsOrdinaryUser() : previous_(setfsuid(geteuid() == 0 ? kNobody : geteuid())) {}
  ~AsOrdinaryUser() { setfsuid(previous_); }
  AsOrdinaryUser(const AsOrdinaryUser&) = delete;
  AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

  // False where the id could not be lent: the checks are then root's.
  bool Active() const { return setfsuid(static_cast<uid_t>(-1)) != 0; }

 private:
  static constexpr uid_t kNobody = 65534;
  uid_t previous_;
};
