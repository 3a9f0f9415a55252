#include "keying/frmtappler.h"

#include "keying/globals.h"
#include "platform/trace.h"

namespace keying {

frmTappler::frmTappler() : Form(QStringLiteral("frmTappler")) {
  SetCaption(QStringLiteral(" Tappler Setup"));
  Move(0, 0, 9600, 7200);
}

// Until the device is driven, what was meant for it is dropped, as the device would take it.
void frmTappler::TPTransmit() {
  CWBuffer.clear();
  NOT_BUILT_YET();
}

}  // namespace keying
