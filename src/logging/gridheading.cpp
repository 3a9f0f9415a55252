#include "app/form1.h"

#include "platform/trace.h"

namespace app {

void Form1::GridHeading() { NOT_BUILT_YET(); }

}  // namespace app
