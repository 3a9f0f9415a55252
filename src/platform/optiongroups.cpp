#include "platform/optiongroups.h"

namespace platform {

namespace {

constexpr int PortOptionCount = 10;
constexpr int PortOptionsPerRow = 5;

void PlaceInFrame(OptionButton& option, int place, int perRow, double columnWidth) {
  option.Move(120 + (place % perRow) * columnWidth, 270 + (place / perRow) * 285, columnWidth - 60, 255);
}

}  // namespace

QString SelectedCode(const OptionGroup& group, const QString& kept) {
  for (const CodedOption& coded : group) {
    if (coded.option->Value()) return coded.code;
  }
  return kept;
}

void SelectOnlyCode(const OptionGroup& group, const QString& code, Qt::CaseSensitivity sensitivity) {
  for (const CodedOption& coded : group) coded.option->SetValue(coded.code.compare(code, sensitivity) == 0);
}

std::vector<OptionButton*> OptionsOf(std::initializer_list<OptionGroup> groups) {
  std::vector<OptionButton*> all;
  for (const OptionGroup& group : groups) {
    for (const CodedOption& coded : group) all.push_back(coded.option);
  }
  return all;
}

std::uint8_t SelectedPortNumber(const ControlArray<OptionButton>& ports, std::uint8_t kept) {
  for (int index : ports.Indexes()) {
    if (ports(index).Value()) kept = static_cast<std::uint8_t>(index + 1);
  }
  return kept;
}

QString LineSettingsText(const QString& baud, const QString& parity, const QString& dataBits, const QString& stopBits) {
  return baud.trimmed() + ',' + parity + ',' + dataBits + ',' + stopBits;
}

void DesignOptions(std::initializer_list<std::pair<OptionButton*, const char*>> group, int perRow, double columnWidth) {
  int place = 0;
  for (const auto& [option, caption] : group) {
    option->SetCaption(QString::fromLatin1(caption));
    PlaceInFrame(*option, place++, perRow, columnWidth);
  }
}

void DesignPortOptions(ControlArray<OptionButton>& ports, double columnWidth) {
  for (int index = 0; index < PortOptionCount; ++index) {
    OptionButton& option = ports.Add(index);
    option.SetCaption(QString::number(index + 1));
    PlaceInFrame(option, index, PortOptionsPerRow, columnWidth);
  }
}

}  // namespace platform
