#include "platform/trace.h"

#include "platform/errors.h"

Q_LOGGING_CATEGORY(lcPlatform, "corvane.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "corvane.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLogging, "corvane.logging", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNetwork, "corvane.network", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLogtools, "corvane.logtools", QtWarningMsg)
Q_LOGGING_CATEGORY(lcKeying, "corvane.keying", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRig, "corvane.rig", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSpotting, "corvane.spotting", QtWarningMsg)

namespace platform {

QString ProcedureName(const std::source_location& where) {
  return ProcedureNameOf(QString::fromUtf8(where.function_name()));
}

QString ProcedureNameOf(const QString& signature) {
  QString name = signature;
  name.truncate(name.indexOf(QLatin1Char('(')) < 0 ? name.size() : name.indexOf(QLatin1Char('(')));
  name = name.mid(name.lastIndexOf(QLatin1Char(' ')) + 1);
  const QStringList parts = name.split(QStringLiteral("::"));
  return parts.size() < 2 ? name : parts[parts.size() - 2] + QStringLiteral("::") + parts.last();
}

void TraceError(TraceCategory category, const std::exception& error, const std::source_location& where) {
  const auto* runtime = dynamic_cast<const RuntimeError*>(&error);
  const QString description = runtime ? QStringLiteral("%1 \"%2\"").arg(runtime->Number()).arg(runtime->Description())
                                      : QStringLiteral("\"%1\"").arg(QString::fromUtf8(error.what()));
  qCWarning(category).noquote() << "error" << description << "trapped in" << ProcedureName(where)
                                << QStringLiteral("(%1:%2)").arg(QString::fromUtf8(where.file_name())).arg(where.line());
}

bool SkipOnError(TraceCategory category, const std::function<void()>& step,
                 const std::source_location& where) {
  try {
    step();
    return true;
  } catch (const std::exception& error) {
    TraceError(category, error, where);
    return false;
  }
}

}  // namespace platform
