#include "logtools/form6.h"

namespace logtools {

Form6::Form6() : Form(QStringLiteral("Form6")) {
  SetCaption(QStringLiteral(" Modify Multiplier Color Selections"));
  // Designed by its client area.
  Move(0, 0, 5595 + 2 * BorderTwips, 2115 + CaptionTwips + BorderTwips);
}

}  // namespace logtools
