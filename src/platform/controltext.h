#pragma once

#include "platform/control.h"
#include "platform/errors.h"

#include <QString>

// What more than one control does with the text it shows.
namespace platform::detail {

inline Qt::Alignment HorizontalAlignment(int alignment) {
  switch (alignment) {
    case AlignLeft: return Qt::AlignLeft;
    case AlignRight: return Qt::AlignRight;
    case AlignCenter: return Qt::AlignHCenter;
    default: InvalidPropertyValue();
  }
}

// Captions mark the access key with "&" and write a shown ampersand as "&&".
inline QString WithoutAccessKeys(const QString& caption) {
  QString shown;
  shown.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption.at(i) == '&' && i + 1 < caption.size()) ++i;
    shown.append(caption.at(i));
  }
  return shown;
}

}  // namespace platform::detail
