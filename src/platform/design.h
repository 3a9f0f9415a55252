#pragma once

#include <QString>

namespace platform {

// A captioned control's design caption and place in one call, as window constructors set them.
template <class Captioned>
void DesignCaption(Captioned& control, const QString& caption, double left, double top, double width, double height) {
  control.SetCaption(caption);
  control.Move(left, top, width, height);
}

}  // namespace platform
