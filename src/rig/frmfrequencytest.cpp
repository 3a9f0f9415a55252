#include "rig/frmfrequencytest.h"

namespace rig {

frmFrequencyTest::frmFrequencyTest() : Form(QStringLiteral("frmFrequencyTest")) {
  SetCaption(QStringLiteral("Test Change Frequency Function"));
  // Designed by its client area.
  Move(0, 0, 5535 + 2 * BorderTwips, 3975 + CaptionTwips + BorderTwips);
}

}  // namespace rig
