#pragma once

#include <QString>

namespace spotting {

// What the spotting window shows for a socket error number: "ERROR: " and the error's text, or
// "Error number " and the number for one it has no text for.
QString SocketErrorMessage(int number);

}  // namespace spotting
