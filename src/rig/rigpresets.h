#pragma once

#include <array>

namespace rig {

// What choosing a rig in the rig window sets: its port settings and poll commands. A zero (or
// parity 0) leaves that setting as it was. The names are the rig list's, in its order, and the
// values RigType takes.
struct RigPreset {
  const char* name;
  int baud;
  int dataBits;
  int stopBits;
  char parity;  // 'N'
  const char* freqPollCommand;
  const char* modePollCommand;
  bool commandsInHex;     // the commands are hex-pair text ("Convert to Hex")
  bool hexChoiceOpen;     // the operator may change "Convert to Hex"
  bool icomAddressNote;   // the note on the rig's CI-V address is shown
};

inline constexpr std::array<RigPreset, 19> RigPresets{{
    {"None", 0, 0, 0, 0, "", "", false, false, false},
    {"Elecraft", 4800, 8, 2, 'N', "FA;", "MD;", false, false, false},
    {"Icom", 1200, 8, 1, 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, false, true},
    {"Icom 735", 1200, 8, 1, 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, false, true},
    {"Kenwood", 4800, 8, 2, 'N', "FA;", "MD;", false, false, false},
    {"Kenwood 2", 4800, 8, 2, 'N', "IF;", "", false, false, false},
    {"Ten Tec Omni VI", 1200, 8, 1, 'N', "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true, false, false},
    {"Ten Tec Orion", 56000, 8, 1, 'N', "?AF", "?RMM", false, false, false},
    {"Ten Tec Fnt Pnl", 56000, 8, 1, 'N', "3F 41 0D", "3F 4D 0D", true, false, false},
    {"Ten Tec Pegasus", 0, 0, 0, 0, "", "", false, false, false},
    {"Yaesu", 4800, 8, 2, 'N', "00 00 00 00 03", "", true, false, false},
    {"Yaesu 757 GX II", 4800, 8, 2, 'N', "00 00 00 00 10", "", true, false, false},
    {"Yaesu 890", 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu 920", 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu 990", 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu 1000 D", 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu 1000", 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu FTdx9000", 4800, 0, 0, 0, "FA;", "MD0;", false, false, false},
    {"Other", 0, 0, 0, 0, "", "", false, true, false},
}};

}  // namespace rig
