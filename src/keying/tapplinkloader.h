#pragma once

#include <QByteArray>
#include <QFunctionPointer>

#include <cstdint>
#include <map>
#include <utility>

// The keyer library's exports as the program calls them: by name, with the library loaded at the
// first call, from the program's own folder first and then wherever the system finds libraries.
// A library or an export that cannot be found throws platform::RuntimeError (53 "File not found",
// 453 "Can't find DLL entry point"); the next call tries again.
namespace keying {

std::int32_t tp_getstatus();
std::int32_t tp_clearbuf();
std::int32_t tp_backspace();
std::int32_t tp_wpm(std::int32_t value);

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
