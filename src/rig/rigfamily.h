#pragma once

#include <QString>

namespace rig {

// The protocol the program speaks with a rig of the rig list. A rig name becomes its family in one
// place, FamilyOf; the port's opening, the poll loop, the reply parsers and the commands all ask
// the family, never the name.
enum class RigFamily {
  NoProtocol,  // "None", and any name that is not in the rig list: nothing is polled or sent
  Elecraft,
  Icom,
  Icom735,
  Kenwood,
  Kenwood2,
  OmniVI,
  Orion,
  FrontPanel,
  Pegasus,
  Yaesu,  // the five-byte Yaesu of opcodes 01 and 07
  Yaesu757,
  Yaesu890,
  Yaesu920,
  Yaesu990,  // the "Yaesu 1000 D" too
  Yaesu1000,
  FTdx9000,
  Other,
};

RigFamily FamilyOf(const QString& rigType);

// The Yaesus of the five-byte binary protocol: a wake-up after the opening, a last command at
// the end.
bool IsBinaryYaesu(RigFamily family);
// The binary Yaesus that take a frequency with opcode 0A and a mode with opcode 0C.
bool TakesOpcode0A(RigFamily family);
// The rigs that speak CI-V frames.
bool IsCiv(RigFamily family);

}  // namespace rig
