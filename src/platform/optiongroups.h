#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/controlarray.h"
#include "platform/controls.h"

namespace platform {

// A setting shown as one option of a frame, and the code it stands for (a serial port's "N" for
// no parity, "R" for power from RTS).
struct CodedOption {
  OptionButton* option;
  QString code;
};
using OptionGroup = std::vector<CodedOption>;

// The code of the group's selected option; `kept` when none is selected.
QString SelectedCode(const OptionGroup& group, const QString& kept);

// Selects each option exactly when `code` is its own, so a code of none leaves none selected.
void SelectOnlyCode(const OptionGroup& group, const QString& code, Qt::CaseSensitivity sensitivity = Qt::CaseSensitive);

// Every option of the groups, in order.
std::vector<OptionButton*> OptionsOf(std::initializer_list<OptionGroup> groups);

// The port number of the selected one of port options 1, 2, ... (element i is port i + 1);
// `kept` when none is selected.
std::uint8_t SelectedPortNumber(const ControlArray<OptionButton>& ports, std::uint8_t kept);

// A serial line's settings as the serial control takes them, "9600,N,8,1"; the rate may come
// padded with blanks.
QString LineSettingsText(const QString& baud, const QString& parity, const QString& dataBits, const QString& stopBits);

// Options with their captions in rows of `perRow` inside their frame, `columnWidth` twips apart.
void DesignOptions(std::initializer_list<std::pair<OptionButton*, const char*>> group, int perRow, double columnWidth);

// Port options 1 to 10 added to their frame in two rows of five, `columnWidth` twips apart.
void DesignPortOptions(ControlArray<OptionButton>& ports, double columnWidth);

}  // namespace platform
