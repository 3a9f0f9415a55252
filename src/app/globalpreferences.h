#pragma once

#include "platform/modulevalues.h"

#include <QString>

#include <cstdint>

// The shared preferences file "SharedUserPreferences.xml": the station's identity and address
// for the maker's other programs. This program only writes it; the text in memory is the one
// copy that is edited, and the file mirrors it after each batch of settings.
namespace app::modGlobalPreferences {

// The file's name in the shared folder.
inline const QString SharedPreferencesFile = QStringLiteral("\\SharedUserPreferences.xml");

// The first line of the file.
inline const QString DeclarationLine = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");

// The whole file as held in memory, without its final line end.
MODULE_VALUE(QString, PreferencesText);
// Where the file is written, as the program writes paths.
MODULE_VALUE(QString, PreferencesPath);

// Takes the file's text into memory, or the declaration line alone when there is no file, and
// makes path the one that saves write; writes nothing. Each line is read as UTF-8, as the file
// declares, or in the Windows code page (Windows-1252) when it is not valid UTF-8. Throws platform::RuntimeError, changing
// nothing, when something is at the path but cannot be read, is no regular file or is larger
// than platform::MaxTextFileBytes.
void LoadPreferencesText(const QString& path);

// Writes PreferencesText and one CR LF to path in UTF-8, replacing the file only once the new one
// is whole (platform::AsideFile). Throws platform::RuntimeError, leaving the file as it was, when
// it cannot be written.
void SavePreferencesText(const QString& path);

// Sets the element whose tag is key in upper case: its text is replaced in place where the element
// opens and closes on one line, else the element is added on a new last line and every other line
// stays as it was. The value is written as it stands, unescaped.
// saveNow 1 writes the file to PreferencesPath; callers setting a batch pass 1 on the last only.
void SetPreference(const QString& key, const QString& value, std::uint8_t saveNow);

// A call sign as a file-name stem: its leading run of "0"-"9" and "A"-"Z", or "YourCall".
QString CallToFileStem(const QString& call);

}  // namespace app::modGlobalPreferences
