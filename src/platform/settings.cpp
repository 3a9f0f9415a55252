#include "platform/settings.h"

#include "platform/asidefile.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <optional>

namespace platform {

namespace {

QString SettingsFile(const QString& appName) {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + appName +
         QStringLiteral(".ini");
}

[[noreturn]] void Refuse() { throw RuntimeError(QStringLiteral("Permission denied"), 70); }

// The private copy could not be written (a full temporary folder): the system's reason where known.
[[noreturn]] void CopyFailed(int systemError) { throw FileAccessError(systemError); }

// One section of a settings file. QSettings never touches the file itself: it would read a FIFO
// or a huge file without end, keep what it parsed for as long as the file looks unchanged, and
// write back a file it could not parse without the lines it did not understand. It works on a
// private copy instead, parsed afresh each time; the file is read as any settings file is and
// written through an AsideFile.
class SectionSettings {
 public:
  // Refuses what is at the path but cannot be read as a settings file.
  SectionSettings(const QString& appName, const QString& section) : file_(SettingsFile(appName)) {
    try {
      if (QFileInfo::exists(file_)) read_ = ReadRegularFile(file_, MaxTextFileBytes);
    } catch (const RuntimeError&) {
      Refuse();
    }
    if (!copy_.open()) CopyFailed(0);
    if (const int error = WriteWhole(copy_.handle(), read_); error != 0) CopyFailed(error);
    settings_.emplace(copy_.fileName(), QSettings::IniFormat);
    settings_->beginGroup(section);
  }

  // The stored spelling of a key, so "usercwselection" finds "UserCWSelection".
  QString StoredKey(const QString& key) const {
    for (const QString& stored : settings_->childKeys()) {
      if (stored.compare(key, Qt::CaseInsensitive) == 0) return stored;
    }
    return key;
  }

  QSettings* operator->() { return &*settings_; }

  // A file that cannot be parsed whole is refused before anything is changed, so a failed store
  // leaves it as it was.
  void RefuseUnlessParsedWhole() {
    settings_->allKeys();
    if (settings_->status() != QSettings::NoError) Refuse();
  }

  // Writes the file when the change made it differ; a failure leaves it as it was, and its error
  // is the file's own, naming the system's reason (a full disk).
  void Store() {
    settings_->sync();
    if (settings_->status() != QSettings::NoError) CopyFailed(0);
    const QByteArray changed = ReadRegularFile(copy_.fileName(), MaxTextFileBytes);
    if (changed == read_) return;
    // A new user's account may have no config folder yet; the first save makes it.
    QDir().mkpath(QFileInfo(file_).absolutePath());
    WriteFileAside(file_, changed);
  }

 private:
  QString file_;
  QByteArray read_;
  QTemporaryFile copy_;
  std::optional<QSettings> settings_;
};

}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue) {
  // Reading a setting never fails: what cannot be read gives the default.
  try {
    SectionSettings settings(appName, section);
    return settings->value(settings.StoredKey(key), defaultValue).toString();
  } catch (const RuntimeError&) {
    return defaultValue;
  }
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
  SectionSettings settings(appName, section);
  settings.RefuseUnlessParsedWhole();
  settings->setValue(settings.StoredKey(key), value);
  settings.Store();
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key) {
  SectionSettings settings(appName, section);
  settings.RefuseUnlessParsedWhole();
  settings->remove(settings.StoredKey(key));
  settings.Store();
}

}  // namespace platform
