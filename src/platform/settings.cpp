#include "platform/settings.h"

#include "platform/errors.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

namespace platform {

namespace {

// QSettings keeps the parsed lines of a file for as long as the file is unchanged, and reports a
// parse error only to the instance that met it (and only once it reads the section concerned).
// A copy under a new name is parsed afresh and whole.
bool ParsesWhole(const QString& fileName) {
  if (!QFileInfo::exists(fileName)) return true;
  QByteArray content;
  try {
    content = ReadRegularFile(fileName, MaxTextFileBytes);
  } catch (const RuntimeError&) {
    return false;
  }
  QTemporaryFile copy;
  if (!copy.open() || copy.write(content) != content.size() || !copy.flush()) return false;
  QSettings check(copy.fileName(), QSettings::IniFormat);
  check.allKeys();
  return check.status() == QSettings::NoError;
}

// The application name is the settings file; the section is a group in it.
class SectionSettings {
 public:
  SectionSettings(const QString& appName, const QString& section)
      : settings_(QSettings::IniFormat, QSettings::UserScope, appName) {
    settings_.beginGroup(section);
  }

  // The stored spelling of a key, so "usercwselection" finds "UserCWSelection".
  QString StoredKey(const QString& key) const {
    for (const QString& stored : settings_.childKeys()) {
      if (stored.compare(key, Qt::CaseInsensitive) == 0) return stored;
    }
    return key;
  }

  QSettings* operator->() { return &settings_; }

  // QSettings writes a file it could not parse back without the lines it did not understand, and
  // only then reports the error. A file that cannot be parsed whole, read or written is refused
  // before anything is changed, so a failed store leaves it as it was.
  void RefuseUnlessStorable() {
    if (!settings_.isWritable() || !ParsesWhole(settings_.fileName())) Refuse();
  }

  void Store() {
    settings_.sync();
    if (settings_.status() != QSettings::NoError) Refuse();
  }

 private:
  [[noreturn]] static void Refuse() { throw RuntimeError(QStringLiteral("Permission denied"), 70); }

  QSettings settings_;
};

}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
  SectionSettings settings(appName, section);
  return settings->value(settings.StoredKey(key), defaultValue).toString();
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
  SectionSettings settings(appName, section);
  settings.RefuseUnlessStorable();
  settings->setValue(settings.StoredKey(key), value);
  settings.Store();
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key) {
  SectionSettings settings(appName, section);
  settings.RefuseUnlessStorable();
  settings->remove(settings.StoredKey(key));
  settings.Store();
}

}  // namespace platform
