#include "logtools/frmeditcon.h"

namespace logtools {

frmEditCon::frmEditCon() : Form(QStringLiteral("frmEditCon")) {
  SetCaption(QStringLiteral("Edit Contact Entry"));
  Move(0, 0, 9600, 7200);
}

}  // namespace logtools
