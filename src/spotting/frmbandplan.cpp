#include "spotting/frmbandplan.h"

namespace spotting {

frmBandPlan::frmBandPlan() : Form(QStringLiteral("frmBandPlan")) {
  SetCaption(QStringLiteral("Frequency Privileges"));
  // Designed by its client area.
  Move(0, 0, 9480 + 2 * BorderTwips, 6690 + CaptionTwips + BorderTwips);
}

}  // namespace spotting
