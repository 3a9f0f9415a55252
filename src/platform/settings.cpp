#include "platform/settings.h"

#include "platform/errors.h"

#include <QSettings>

namespace platform {

namespace {

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

  void Store() {
    settings_.sync();
    if (settings_.status() != QSettings::NoError) throw RuntimeError(QStringLiteral("Permission denied"), 70);
  }

 private:
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
  settings->setValue(settings.StoredKey(key), value);
  settings.Store();
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key) {
  SectionSettings settings(appName, section);
  settings->remove(settings.StoredKey(key));
  settings.Store();
}

}  // namespace platform
