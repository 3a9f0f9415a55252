#include "keying/tapplinkloader.h"

#include "keyerlib/tapplink.h"
#include "keying/globals.h"
#include "platform/errors.h"
#include "platform/trace.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <cerrno>

namespace keying {

namespace {

const QString LibraryName = QStringLiteral("Tapplink");

FakeTapplink* fake = nullptr;

// Loaded once for the rest of the run; a failed load leaves it unloaded for the next call.
QLibrary& Library() {
  static QLibrary library;
  return library;
}

// Beside the program first, as a library loaded by name is looked for; then the system's search.
void LoadLibrary() {
  QLibrary& library = Library();
  if (library.isLoaded()) return;
  library.setFileName(QDir(QCoreApplication::applicationDirPath()).filePath(LibraryName));
  if (library.load()) return;
  const QString besideProgram = library.errorString();
  library.setFileName(LibraryName);
  if (library.load()) return;
  qCWarning(lcKeying).noquote() << besideProgram << "|" << library.errorString();
  throw platform::RuntimeError(QStringLiteral("File not found: ") + LibraryName, 53);
}

[[noreturn]] void MissingExport(const char* name) {
  throw platform::RuntimeError(
      QStringLiteral("Can't find DLL entry point %1 in %2").arg(QString::fromLatin1(name), LibraryName), 453);
}

template <class Function, class... Arguments>
std::int32_t Call(const char* name, Arguments... arguments) {
  Function* function = reinterpret_cast<Function*>(TapplinkExport(name));
  errno = 0;  // finding the library may have left one of its own
  return function(arguments...);
}

}  // namespace

QFunctionPointer TapplinkExport(const char* name) {
  if (fake) {
    auto found = fake->Exports().find(name);
    if (found == fake->Exports().end()) MissingExport(name);
    return found->second;
  }
  LoadLibrary();
  QFunctionPointer function = Library().resolve(name);
  if (!function) MissingExport(name);
  return function;
}

std::int32_t tp_open(std::uint8_t* version, std::int32_t port) {
  return Call<decltype(::tp_open)>("tp_open", version, port);
}
std::int32_t tp_close() { return Call<decltype(::tp_close)>("tp_close"); }
std::int32_t tp_char(std::int32_t value) { return Call<decltype(::tp_char)>("tp_char", value); }
std::int32_t tp_getstatus() { return Call<decltype(::tp_getstatus)>("tp_getstatus"); }
std::int32_t tp_clearbuf() { return Call<decltype(::tp_clearbuf)>("tp_clearbuf"); }
std::int32_t tp_backspace() { return Call<decltype(::tp_backspace)>("tp_backspace"); }
std::int32_t tp_wpm(std::int32_t value) { return Call<decltype(::tp_wpm)>("tp_wpm", value); }
std::int32_t tp_weight(std::int32_t value) { return Call<decltype(::tp_weight)>("tp_weight", value); }
std::int32_t tp_ditdah_ratio(std::int32_t value) {
  return Call<decltype(::tp_ditdah_ratio)>("tp_ditdah_ratio", value);
}
std::int32_t tp_ptt_leadtail(std::int32_t lead, std::int32_t tail) {
  return Call<decltype(::tp_ptt_leadtail)>("tp_ptt_leadtail", lead, tail);
}
std::int32_t tp_pincfg(std::int32_t value) { return Call<decltype(::tp_pincfg)>("tp_pincfg", value); }
std::int32_t tp_setmode(std::int32_t value) { return Call<decltype(::tp_setmode)>("tp_setmode", value); }

bool TapplinkLoaded() { return fake != nullptr || Library().isLoaded(); }

void CloseKeyerDevice() {
  if (TapplinkLoaded()) tp_close();
  TPVersion = 0;
}

FakeTapplink::FakeTapplink(std::map<QByteArray, QFunctionPointer> exports) : exports_(std::move(exports)) {
  fake = this;
}

FakeTapplink::~FakeTapplink() { fake = nullptr; }

}  // namespace keying
