#include "keying/blindfrm.h"

#include "app/globals.h"
#include "platform/trace.h"

namespace keying {

BlindFrm::BlindFrm() : Form(QStringLiteral("BlindFrm")) {
  SetCaption(QStringLiteral("Voice Navigation Settings"));
  Move(0, 0, 6000, 3600);
}

void BlindFrm::Form_Unload(int&) { MMControl1.Command(QStringLiteral("Close")); }

void BlindFrm::BlindKeyPhone(const QString& cue) {
  try {
    MMControl1.DeviceType = QStringLiteral("WaveAudio");
    MMControl1.Command(QStringLiteral("Close"));
    MMControl1.FileName = app::ProgramDir + QLatin1Char('\\') + cue + QStringLiteral(".wav");
    if (!MMControl1.FileName.trimmed().isEmpty()) {
      MMControl1.Command(QStringLiteral("Open"));
      MMControl1.Command(QStringLiteral("play"));
    }
  } catch (const std::exception& error) {
    // A cue the operator has not recorded is silence.
    platform::TraceError(lcKeying, error);
  }
}

}  // namespace keying
