#pragma once

#include <QByteArray>
#include <QFunctionPointer>

#include <cstdint>
#include <map>
#include <utility>

// The keyer library's exports as the program calls them: by name, with the library loaded at the
// first call, from the program's own folder first and then wherever the system finds libraries.
// A library or an export that cannot be found throws platform::RuntimeError (53 "File not found",
// 453 "Can't find DLL entry point"); the next call tries again. After a call errno holds the
// system's reason the library left (a port that failed, or could not be opened), 0 for none.
namespace keying {

std::int32_t tp_open(std::uint8_t* version, std::int32_t port);
std::int32_t tp_close();
std::int32_t tp_char(std::int32_t value);
std::int32_t tp_getstatus();
std::int32_t tp_clearbuf();
std::int32_t tp_backspace();
std::int32_t tp_wpm(std::int32_t value);
std::int32_t tp_weight(std::int32_t value);
std::int32_t tp_ditdah_ratio(std::int32_t value);
std::int32_t tp_ptt_leadtail(std::int32_t lead, std::int32_t tail);
std::int32_t tp_pincfg(std::int32_t value);
std::int32_t tp_setmode(std::int32_t value);

// Whether a call has loaded the library (a fake counts as loaded). A library never loaded holds
// no open device, so the paths that only close or clear one skip their calls then.
bool TapplinkLoaded();

// Closes the keyer device through the library when it is loaded; TPVersion is 0 afterwards.
// RuntimeError as for any export.
void CloseKeyerDevice();

// The address of one export, by name.
QFunctionPointer TapplinkExport(const char* name);

// Test seam: while one of these lives, the exports are taken from its table of functions instead
// of the library, and a name the table lacks is an export the library lacks. GUI thread only;
// one at a time.
class FakeTapplink {
 public:
  explicit FakeTapplink(std::map<QByteArray, QFunctionPointer> exports);
  ~FakeTapplink();
  FakeTapplink(const FakeTapplink&) = delete;
  FakeTapplink& operator=(const FakeTapplink&) = delete;

  const std::map<QByteArray, QFunctionPointer>& Exports() const { return exports_; }

 private:
  std::map<QByteArray, QFunctionPointer> exports_;
};

}  // namespace keying
