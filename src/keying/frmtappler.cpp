#include "keying/frmtappler.h"

namespace keying {

frmTappler::frmTappler() : Form(QStringLiteral("frmTappler")) {
  SetCaption(QStringLiteral(" Tappler Setup"));
  Move(0, 0, 9600, 7200);
}

}  // namespace keying
