#pragma once

#include <QString>

namespace platform {

// Per-user settings kept by application name, section and key, as the program's registry
// settings are ("Varnek_Software", "Settings", "UserCWSelection"). Each application name is
// one file in the user's config folder (<config>/Varnek_Software.ini), each section a group.
// Keys match without regard to letter case. A setting that cannot be stored throws RuntimeError
// 70 "Permission denied" and leaves the file as it was (also one QSettings cannot parse whole). Tests point QSettings' IniFormat user path at a
// scratch folder (QSettings::setPath).
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = {});
void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
void DeleteSetting(const QString& appName, const QString& section, const QString& key);

}  // namespace platform
