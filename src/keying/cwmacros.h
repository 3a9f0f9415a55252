#pragma once

#include <QChar>
#include <QString>

#include <functional>

namespace keying {

// Replaces each `macro` character of the text, walking it from the start, by value(), asked
// afresh at each one. The walk goes on after the character replaced, so an empty value lets the
// character behind it slip past ("##" leaves "#"), and a value is never walked again: a call that
// holds the macro character is sent as it stands.
QString ExpandMacro(QString text, QChar macro, const std::function<QString()>& value);

}  // namespace keying
