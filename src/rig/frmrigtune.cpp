#include "rig/frmrigtune.h"

namespace rig {

frmRigTune::frmRigTune() : Form(QStringLiteral("frmRigTune")) {
  SetCaption(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
  Move(0, 0, 7200, 5400);
}

}  // namespace rig
