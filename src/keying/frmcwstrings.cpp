#include "keying/frmcwstrings.h"

namespace keying {

frmCWStrings::frmCWStrings() : Form(QStringLiteral("frmCWStrings")) {
  SetCaption(QStringLiteral("CW Strings"));
  // Designed by its client area.
  Move(0, 0, 2610 + 2 * BorderTwips, 4965 + CaptionTwips + BorderTwips);
}

}  // namespace keying
