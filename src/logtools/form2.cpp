#include "logtools/form2.h"

namespace logtools {

Form2::Form2() : Form(QStringLiteral("Form2")) {
  SetCaption(QStringLiteral("Summary Sheet Information"));
  Move(0, 0, 9600, 7200);
}

}  // namespace logtools
