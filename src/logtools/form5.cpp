#include "logtools/form5.h"

namespace logtools {

Form5::Form5() : Form(QStringLiteral("Form5")) {
  SetCaption(QStringLiteral("Help Page"));
  Move(0, 0, 9600, 7200);
}

}  // namespace logtools
