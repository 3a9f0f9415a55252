#include "keying/printerline.h"

#include "keying/globals.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/numbertext.h"
#include "platform/printerport.h"

#include <limits>

namespace keying {

std::int32_t PrinterControlRegister(const platform::TextBox& baseAddress) {
  const std::int64_t address =
      std::int64_t{platform::WholeOfNumberText(baseAddress.Text())} + platform::PrinterControlOffset;
  if (address > std::numeric_limits<std::int32_t>::max()) throw platform::RuntimeError(QStringLiteral("Overflow"), 6);
  return static_cast<std::int32_t>(address);
}

namespace {

void ReportUnusablePrinterPort(std::int32_t controlRegister, const platform::RuntimeError& error) {
  PrinterPortReported = 1;
  const QString setting = platform::PrinterPortSetting(controlRegister - platform::PrinterControlOffset);
  platform::Beep();
  platform::MsgBox(error.Description() +
                       QStringLiteral(".\n\nThe transmitter is not keyed from the printer port until it can be used: "
                                      "load its modules (sudo modprobe parport_pc ppdev), let your user write it "
                                      "(the group lp: sudo adduser $USER lp, then log in again), or set %1 to the "
                                      "port's device, such as /dev/parport1.")
                           .arg(setting),
                   platform::MsgBoxStyle::Exclamation, QStringLiteral("Printer port not available."));
}

}  // namespace

void KeyPrinterLine(std::int32_t controlRegister, bool down) {
  try {
    platform::Out32(controlRegister, down ? PrinterKeyDown : PrinterKeyUp);
  } catch (const platform::RuntimeError& error) {
    if (PrinterPortReported == 0) ReportUnusablePrinterPort(controlRegister, error);
    throw;
  }
}

}  // namespace keying
