#include "app/frmsplash.h"

namespace app {

frmSplash::frmSplash() : Form(QStringLiteral("frmSplash")) {
  SetCaption(QStringLiteral("Corvane"));
  Move(0, 0, 4800, 3600);
}

}  // namespace app
