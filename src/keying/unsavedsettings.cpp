#include "keying/unsavedsettings.h"

#include "platform/dialogs.h"
#include "platform/trace.h"

namespace keying {

void ReportUnsavedSettings(const QString& what, const platform::RuntimeError& error) {
  platform::TraceError(lcKeying, error);
  platform::MsgBox(QStringLiteral("The %1 settings could not be saved: ").arg(what) + error.Description(),
                   platform::MsgBoxStyle::OKOnly, QStringLiteral("Unable to write file."));
}

}  // namespace keying
