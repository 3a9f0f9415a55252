#include "keying/phonefrm.h"

namespace keying {

PhoneFrm::PhoneFrm() : Form(QStringLiteral("PhoneFrm")) {
  SetCaption(QStringLiteral("Phone Wave Selections"));
  Move(0, 0, 9600, 7200);
}

}  // namespace keying
