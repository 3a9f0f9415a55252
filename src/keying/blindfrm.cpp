#include "keying/blindfrm.h"

namespace keying {

BlindFrm::BlindFrm() : Form(QStringLiteral("BlindFrm")) {
  SetCaption(QStringLiteral("Voice Navigation Settings"));
  Move(0, 0, 6000, 3600);
}

}  // namespace keying
