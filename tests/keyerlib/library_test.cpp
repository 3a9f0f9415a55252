// The shared library as the program loads it: its exports, and unloading or ending the process
// with a connection open.
#include <dlfcn.h>
#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "keyerfixture.h"

using namespace keyertesting;

namespace {

const std::set<std::string> kExports = {
    "tp_open",         "tp_close",        "tp_power",        "tp_set_callback", "tp_send_defaults",
    "tp_char",         "tp_backspace",    "tp_clearbuf",     "tp_getstatus",    "tp_getecho",
    "tp_xoff",         "tp_getpot",       "tp_st_freq",      "tp_wpm",          "tp_weight",
    "tp_xtnd1st",      "tp_kcomp",        "tp_setfarns",     "tp_keysample",    "tp_ditdah_ratio",
    "tp_pincfg",       "tp_setmode",      "tp_ptt_leadtail", "tp_setup_speedpot", "tp_key",
    "tp_pause",        "tp_directkey",    "tp_hscw",         "tp_dumpstate",    "tp_dumpdebug",
    "tp_get_pdl_a2d",  "tp_get_pot_a2d",  "tp_ptr_reset",    "tp_setptr_ovr",   "tp_setptr_ins",
    "tp_load_nulls",   "tp_buf_ptt",      "tp_buf_key",      "tp_buf_wait",     "tp_mergechar",
    "tp_buf_wpm",      "tp_buf_hscw",     "tp_cancel_bufwpm", "tp_buffered_null",
};

// The names the library file offers to a program that loads it.
std::set<std::string> DefinedDynamicSymbols() {
  std::set<std::string> names;
  const std::string command = std::string("nm -D --defined-only ") + TAPPLINK_LIBRARY;
  std::unique_ptr<FILE, int (*)(FILE*)> listing(popen(command.c_str(), "r"), pclose);
  char line[512];
  while (listing && std::fgets(line, sizeof line, listing.get()) != nullptr) {
    char address[64], type[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3) names.insert(name);
  }
  return names;
}

using OpenFunction = int32_t (*)(uint8_t*, int32_t);

class LoadedLibraryTest : public ::testing::Test {
 protected:
  static constexpr int kLoadedPort = 9;
  void TearDown() override { unsetenv("CORVANE_PORT9"); }
};

}  // namespace

TEST(KeyerLibraryFile, ExportsTheTpFunctionsAndNothingElse) {
  EXPECT_EQ(DefinedDynamicSymbols(), kExports);
  void* library = dlopen(TAPPLINK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const std::string& name : kExports) EXPECT_NE(dlsym(library, name.c_str()), nullptr) << name;
  dlclose(library);
}

TEST_F(LoadedLibraryTest, UnloadingWithAConnectionOpenClosesIt) {
  KeyerDevicePeer device;
  setenv("CORVANE_PORT9", device.HostLine().c_str(), 1);
  void* library = dlopen(TAPPLINK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto open = reinterpret_cast<OpenFunction>(dlsym(library, "tp_open"));
  uint8_t version = 0;
  ASSERT_EQ(open(&version, kLoadedPort), TP_OK);

  EXPECT_EQ(dlclose(library), 0);
  EXPECT_EQ(dlopen(TAPPLINK_LIBRARY, RTLD_NOW | RTLD_NOLOAD), nullptr);  // really gone
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03}));
  EXPECT_EQ(DescriptorsOn(device.HostLine()), 0);
}

TEST_F(LoadedLibraryTest, EndingTheProcessWithAConnectionOpenClosesIt) {
  KeyerDevicePeer device;
  ScratchFolder folder;
  setenv("CORVANE_PORT9", device.HostLine().c_str(), 1);
  ChildProcess program({OPEN_AND_EXIT, std::to_string(kLoadedPort)}, folder.Path("program.log"));
  const int status = program.WaitForExit();
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(device.WaitForTranscriptEnding({0x00, 0x03}));
}
