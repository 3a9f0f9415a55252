#include "keying/cwmacros.h"

#include <algorithm>

namespace keying {

QString ExpandMacro(QString text, QChar macro, const std::function<QString()>& value) {
  qsizetype i = 0;
  while (i < text.size()) {
    if (text[i] != macro) {
      ++i;
      continue;
    }
    const QString replacement = value();
    text.replace(i, 1, replacement);
    i += std::max<qsizetype>(replacement.size(), 1);
  }
  return text;
}

}  // namespace keying
