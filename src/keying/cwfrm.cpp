#include "keying/cwfrm.h"

namespace keying {

CWFrm::CWFrm() : Form(QStringLiteral("CWFrm")) {
  SetCaption(QStringLiteral("CW String Selections"));
  Move(0, 0, 9600, 7200);
}

}  // namespace keying
