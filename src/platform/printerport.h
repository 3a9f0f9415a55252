#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// The printer port's I/O write, over the Linux ppdev driver. The keying windows key their
// transmitter with it on the port's control register, at its base address + 2.

// The control register's distance from a printer port's base address.
inline constexpr std::int32_t PrinterControlOffset = 2;

// The control register with no line keyed: the keying's key up, and what the program leaves on
// every port it wrote to when it ends.
inline constexpr std::int32_t PrinterControlIdle = 2;

// The setting that names the device of the printer port at a base address: CORVANE_PARPORT_378.
QString PrinterPortSetting(std::int32_t baseAddress);

// The ppdev device of the printer port at a base address: $CORVANE_PARPORT_<base in hex> when
// set (CORVANE_PARPORT_378=/dev/parport1), else the usual one of the three classic bases: &H378
// /dev/parport0, &H278 /dev/parport1, &H3BC /dev/parport2. Nothing for another base without a
// setting (a plug-in card's base such as &HD010 needs CORVANE_PARPORT_D010).
std::optional<QString> PrinterPortDevice(std::int32_t baseAddress);

// Writes the low byte of `value` to the I/O port at `address`, which must be a printer port's
// control register (base + 2). The driver passes the register's four output lines (bits 0-3) and
// keeps its direction and interrupt bits. The device is opened, locked against other programs
// and claimed at its first write and kept so until the program ends (ReleasePrinterPorts); a write
// that fails lets it go, so the next write opens it afresh. RuntimeError, with the device and the cause in its
// description: 53 when no device belongs to the address or its device file is missing, 75 when
// it cannot be opened, is held by another program, is no printer port or refuses the write.
void Out32(std::int32_t address, std::int32_t value);

// The program's end: every control register written to goes back to idle, and every printer port
// is let go of. A port that fails is traced and skipped.
void ReleasePrinterPorts();

// Test seam: while one of these lives, Out32 touches no device and records each write instead,
// so a test reads the keying line's levels in order. GUI thread only; one at a time.
class RecordedPrinterPort {
 public:
  struct Write {
    std::int32_t address;
    std::int32_t value;
    bool operator==(const Write&) const = default;
  };

  RecordedPrinterPort();
  ~RecordedPrinterPort();
  RecordedPrinterPort(const RecordedPrinterPort&) = delete;
  RecordedPrinterPort& operator=(const RecordedPrinterPort&) = delete;

  const std::vector<Write>& Writes() const { return *writes_; }

 private:
  std::shared_ptr<std::vector<Write>> writes_;
};

}  // namespace platform
