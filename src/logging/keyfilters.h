#pragma once

// The key filters every text box of the program may apply to the key code of a KeyPress.
namespace logging {

// Upper-cases "a" to "z"; every other code, Tab included, is left as it is.
void Capital(int& KeyAscii);

// Lets Backspace and "0" to "9" through; any other code becomes 0, so the key is swallowed.
void number(int& KeyAscii);

}  // namespace logging
