#include "app/frmstationid.h"

namespace app {

frmStationID::frmStationID() : Form(QStringLiteral("frmStationID")) {
  SetCaption(QStringLiteral(" Amateur Station I.D."));
  Move(0, 0, 7200, 6000);
}

}  // namespace app
