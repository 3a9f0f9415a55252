#include "keying/frmcodepractice.h"

namespace keying {

frmCodePractice::frmCodePractice() : Form(QStringLiteral("frmCodePractice")) {
  SetCaption(QStringLiteral("On the Air Code Practice"));
  Move(0, 0, 9600, 7200);
}

}  // namespace keying
