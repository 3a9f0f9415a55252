#include "logtools/graphqso.h"

namespace logtools {

GraphQSO::GraphQSO() : Form(QStringLiteral("GraphQSO")) {
  SetCaption(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
  Move(0, 0, 9600, 7200);
}

}  // namespace logtools
