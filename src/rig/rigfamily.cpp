#include "rig/rigfamily.h"

#include "rig/rigpresets.h"

namespace rig {

RigFamily FamilyOf(const QString& rigType) {
  const RigPreset* preset = FindPreset(rigType);
  return preset == nullptr ? RigFamily::NoProtocol : preset->family;
}

bool IsBinaryYaesu(RigFamily family) { return family == RigFamily::Yaesu || TakesOpcode0A(family); }

bool TakesOpcode0A(RigFamily family) {
  switch (family) {
    case RigFamily::Yaesu757:
    case RigFamily::Yaesu890:
    case RigFamily::Yaesu920:
    case RigFamily::Yaesu990:
    case RigFamily::Yaesu1000: return true;
    default: return false;
  }
}

bool IsCiv(RigFamily family) {
  return family == RigFamily::Icom || family == RigFamily::Icom735 || family == RigFamily::OmniVI;
}

}  // namespace rig
