#include "rig/rigcontrolfrm.h"

#include "platform/trace.h"

namespace rig {

RigControlfrm::RigControlfrm() : Form(QStringLiteral("RigControlfrm")) {
  SetCaption(QStringLiteral("Rig Control"));
  Move(0, 0, 9600, 7200);
}

void RigControlfrm::Command1_Click() { NOT_BUILT_YET(); }

void RigControlfrm::ChangeFrequency(const float&) { NOT_BUILT_YET(); }

void RigControlfrm::ChangeMode(const float&, QString&) { NOT_BUILT_YET(); }

}  // namespace rig
