// Root reads and writes any file whatever its mode. A test that shows what a normal user meets
// drops that power from its own thread's effective capabilities while one of these lives; for a
// normal user there is nothing to drop.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>

class WithoutFileOverride {
 public:
  WithoutFileOverride() { Set(false); }
  ~WithoutFileOverride() { Set(true); }
  WithoutFileOverride(const WithoutFileOverride&) = delete;
  WithoutFileOverride& operator=(const WithoutFileOverride&) = delete;

 private:
  // Lowered from the effective set, or raised again as far as the permitted set allows.
  static void Set(bool raised) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0) return;
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
      __user_cap_data_struct& word = data[capability / 32];
      const std::uint32_t bit = 1U << (capability % 32);
      word.effective = raised ? word.effective | (word.permitted & bit) : word.effective & ~bit;
    }
    syscall(SYS_capset, &header, data);
  }
};
