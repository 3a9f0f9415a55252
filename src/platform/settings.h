#pragma once

#include <QString>

namespace platform {

// Per-user settings kept by application name, section and key, as the program's registry
// settings are ("Varnek_Software", "Settings", "UserCWSelection"). Each application name is
// one INI file in the user's XDG config folder ($XDG_CONFIG_HOME, else $HOME/.config, looked up
// at every call: tests point $XDG_CONFIG_HOME at a scratch folder), each section a group.
// Keys match without regard to letter case. The file is read as a regular file of at most
// MaxTextFileBytes, and rewritten through an AsideFile only when a change makes it differ.
// A setting that cannot be stored throws RuntimeError and leaves the file as it was: 70
// "Permission denied" for a file that cannot be read or parsed whole, otherwise the error of the
// write (FileOpenError's numbers, a full disk 75 with the system's reason, "No space left on
// device"). A setting that cannot be read gives the default.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = {});
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
void DeleteSetting(const QString& appName, const QString& section, const QString& key);

}  // namespace platform
