#include "logging/keyfilters.h"

#include "platform/keys.h"

namespace logging {

void Capital(int& KeyAscii) {
  if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii -= 'a' - 'A';
}

void number(int& KeyAscii) {
  if (KeyAscii != platform::KeyBack && (KeyAscii < '0' || KeyAscii > '9')) KeyAscii = 0;
}

}  // namespace logging
