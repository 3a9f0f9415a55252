#include "platform/color.h"

#include <QApplication>
#include <QPalette>

namespace platform {

Color ButtonFaceColor() { return FromQColor(QApplication::palette().color(QPalette::Active, QPalette::Button)); }

}  // namespace platform
