#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace rig {

// The set-frequency and set-mode commands of each rig family (rigfamily.h), built without the
// window: what goes out on the rig's port and the pauses that come before it. Frequencies travel
// in MHz in double precision and reach each command's field rounded to its unit (Hz, or 10 Hz for
// the binary Yaesus), halves to even, so the rig is tuned to what the operator typed or clicked.

// The rig window's state the commands are built from.
struct RigCommandSettings {
  QString rigType;               // RigType
  QString frequencyCommand;      // the text of txtFreq: Kenwood and FTdx9000 take its first two characters
  QString modeCommand;           // the text of txtMode: the FTdx9000 takes its first three characters
  QString freqPollCommand;       // FreqPollCommand: its characters 7 and 8 are the CI-V address
  std::uint8_t kenwoodVfo = 10;  // KenwoodVfo: 1 (VFO B) makes "Kenwood 2" tune with "FB"
};

// Throws RuntimeError, with a description naming the frequency, when the rig's set-frequency
// command cannot carry it: no frequency at all (zero, negative, infinite, not a number), or one
// wider than the command's field (11 digits of Hz for the Kenwood family, 10 for CI-V, 4 binary
// bytes of Hz for the front panel, 8 digits of 10 Hz for the binary Yaesus, 8 digits of Hz for
// the FTdx9000, plain decimal text for the Orion and the Pegasus). Cutting such a value would
// tune the rig somewhere else, so the caller checks before it sends anything, the mode command too.
void CheckFrequencyFits(const RigCommandSettings& settings, double megahertz);

// The set-frequency step: the pauses before it, in order (the window runs each as a pause that
// lets events run before and after it), then what is sent.
struct FrequencyCommand {
  std::vector<float> pausesMs;
  QByteArray bytes;                // empty: nothing goes out on the port
  bool writesPegasusFile = false;  // the "Ten Tec Pegasus" is tuned through its exchange file
};

// The set-frequency step for a frequency in MHz. "Other" and any unknown name get neither pauses
// nor bytes, and a CI-V address that is not two hex digits builds no frame. Checks first:
// throws as CheckFrequencyFits does.
FrequencyCommand BuildFrequencyCommand(const RigCommandSettings& settings, double megahertz);

// The pause before every set-mode command, whatever the rig.
inline constexpr float ModeCommandPauseMs = 99;

// The set-mode command for a mode name ("LSB", "USB", "CW", "CW-R", "AM", "FM", "RTTY", "RTTY-R",
// "FSK", "DIG", "PKT"); empty when the rig family has none for that mode or no set-mode command
// at all ("Icom 735", the Ten Tecs but the Omni VI, "Other").
QByteArray BuildModeCommand(const RigCommandSettings& settings, const QString& mode);

// A frequency in MHz as the Orion's command and the Pegasus exchange file write it: rounded to the
// Hz and written as the program's files write a double, without trailing zeros or a zero before
// the point (14.25, 7.15, 1270, 10368.123456, .5).
QString FrequencyNumberText(double megahertz);

// The content of the Pegasus exchange file PEGASUS.IN: the frequency text, CR LF, the logger's
// current mode trimmed of blanks, CR LF.
QByteArray PegasusInContent(double megahertz, const QString& rigMode);

// Writes PEGASUS.IN in platform::PegasusFolder(), replacing it whole. A failure is traced, and the
// first of a session shown to the operator, naming the file and the system's reason, since the rig
// then no longer follows; the frequency change goes on.
void WritePegasusFile(double megahertz, const QString& rigMode);

}  // namespace rig
