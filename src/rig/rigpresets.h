#pragma once

#include <QString>

#include <algorithm>
#include <array>

#include "rig/rigfamily.h"

namespace rig {

// What choosing a rig in the rig window sets: its port settings and poll commands. A zero (or
// parity 0) leaves that setting as it was. The names are the rig list's, in its order, and the
// values RigType takes; each with the family whose protocol the rig speaks.
struct RigPreset {
  const char* name;
  RigFamily family;
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
    {"None", RigFamily::NoProtocol, 0, 0, 0, 0, "", "", false, false, false},
    {"Elecraft", RigFamily::Elecraft, 4800, 8, 2, 'N', "FA;", "MD;", false, false, false},
    {"Icom", RigFamily::Icom, 1200, 8, 1, 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, false, true},
    {"Icom 735", RigFamily::Icom735, 1200, 8, 1, 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, false, true},
    {"Kenwood", RigFamily::Kenwood, 4800, 8, 2, 'N', "FA;", "MD;", false, false, false},
    {"Kenwood 2", RigFamily::Kenwood2, 4800, 8, 2, 'N', "IF;", "", false, false, false},
    {"Ten Tec Omni VI", RigFamily::OmniVI, 1200, 8, 1, 'N', "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true, false, false},
    {"Ten Tec Orion", RigFamily::Orion, 56000, 8, 1, 'N', "?AF", "?RMM", false, false, false},
    {"Ten Tec Fnt Pnl", RigFamily::FrontPanel, 56000, 8, 1, 'N', "3F 41 0D", "3F 4D 0D", true, false, false},
    {"Ten Tec Pegasus", RigFamily::Pegasus, 0, 0, 0, 0, "", "", false, false, false},
    {"Yaesu", RigFamily::Yaesu, 4800, 8, 2, 'N', "00 00 00 00 03", "", true, false, false},
    {"Yaesu 757 GX II", RigFamily::Yaesu757, 4800, 8, 2, 'N', "00 00 00 00 10", "", true, false, false},
    {"Yaesu 890", RigFamily::Yaesu890, 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu 920", RigFamily::Yaesu920, 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu 990", RigFamily::Yaesu990, 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu 1000 D", RigFamily::Yaesu990, 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu 1000", RigFamily::Yaesu1000, 4800, 8, 2, 'N', "00 00 00 02 10", "", true, false, false},
    {"Yaesu FTdx9000", RigFamily::FTdx9000, 4800, 0, 0, 0, "FA;", "MD0;", false, false, false},
    {"Other", RigFamily::Other, 0, 0, 0, 0, "", "", false, true, false},
}};

// The preset of a rig list name, compared exactly; nullptr for a name not in the list.
inline const RigPreset* FindPreset(const QString& rigName) {
  const auto found = std::find_if(RigPresets.begin(), RigPresets.end(),
                                  [&](const RigPreset& preset) { return rigName == QLatin1String(preset.name); });
  return found == RigPresets.end() ? nullptr : &*found;
}

}  // namespace rig
