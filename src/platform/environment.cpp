#include "platform/environment.h"

#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

namespace platform {

namespace {

QString Variable(const QString& name) { return qEnvironmentVariable(name.toLocal8Bit().constData()); }

QString ValueOr(const QString& value, const QString& standIn) { return value.isEmpty() ? standIn : value; }

QString HomeFolder() { return Variable(QStringLiteral("HOME")); }

QString ConfigFolder() {
  const QString home = HomeFolder();
  return ValueOr(Variable(QStringLiteral("XDG_CONFIG_HOME")), home.isEmpty() ? QString() : home + "/.config");
}

}  // namespace

QString Environ(const QString& name) {
  const QString upper = name.toUpper();
  if (upper == QLatin1String("USERPROFILE")) return ValueOr(Variable(upper), HomeFolder());
  if (upper == QLatin1String("APPDATA")) return ValueOr(Variable(upper), ConfigFolder());
  return Variable(name);
}

QString DesktopDocumentsFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || QDir(folder) == QDir::home()) return QString();
  return folder;
}

QString PegasusFolder() {
  return ValueOr(Variable(QStringLiteral("CORVANE_PEGASUS_DIR")), NativePath(QStringLiteral("c:\\Pegasus")));
}

}  // namespace platform
