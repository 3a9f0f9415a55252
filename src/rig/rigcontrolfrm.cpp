#include "rig/rigcontrolfrm.h"

namespace rig {

RigControlfrm::RigControlfrm() : Form(QStringLiteral("RigControlfrm")) {
  SetCaption(QStringLiteral("Rig Control"));
  Move(0, 0, 9600, 7200);
}

}  // namespace rig
