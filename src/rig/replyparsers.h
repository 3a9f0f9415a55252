#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "rig/rigfamily.h"

namespace rig {

// What a rig's reply on one read tick tells about the rig. A field is set only when the reply
// gave it; an unset field leaves the value held from earlier ticks as it is. A parser that finds
// no usable reply returns nothing set; one that stops part-way keeps what it took before.
struct RigReading {
  std::optional<double> frequency;         // MHz, to the unit the rig tells (Hz or 10 Hz)
  std::optional<QString> mode;             // "PH" or "CW"; also "AM", "FM" (757) and "" (Pegasus)
  std::optional<std::uint8_t> kenwoodVfo;  // 0 = VFO A, 1 = VFO B
};

// Each parser reads one reply: all bytes taken from the port on one read tick. Markers are found
// case-sensitively, the first occurrence counting; frequency fields are read to their last digit.

// Text replies.

// "FA00014250000;": 11 digits of Hz after the first two characters of the frequency command
// (normally "FA"), which must hold at least 3 characters. Sets the frequency.
RigReading ParseKenwoodFrequency(const QByteArray& reply, const QString& frequencyCommand);
// "MD3;": "CW" for 3 or 7 after "MD", "PH" for anything else. Sets the mode.
RigReading ParseKenwoodMode(const QByteArray& reply);
// The "IF" status record: frequency (11 digits at offsets 2-12), then the mode digit at offset 29
// when the record reaches it ("CW" for 3), then the VFO digit at offset 30 when it is a digit. A
// frequency that is no number ends it.
RigReading ParseKenwoodIF(const QByteArray& reply);
// "FA14250000;" (8 digits of Hz after the first two characters of the frequency command) and
// "MD03;" ("CW" for 3 after the first three characters of the mode command, "PH" for anything
// else); each is taken where present, whatever became of the other.
RigReading ParseFTdx9000Reply(const QByteArray& reply, const QString& frequencyCommand, const QString& modeCommand);
// "@AF14250000" ended by a carriage return: the digits of Hz between. Sets the frequency.
RigReading ParseOrionFrequency(const QByteArray& reply);
// "@RMM3": "CW" for 2 or 3, "PH" for anything else. Sets the mode.
RigReading ParseOrionMode(const QByteArray& reply);
// The exchange file "PEGASUS.OUT" in platform::PegasusFolder(): the frequency in MHz, then the
// mode text ("CW" as it is, "" as it is, any other text "PH"), separated by a comma or a line
// end. A missing or unreadable file gives nothing; a frequency read before a failure stays.
RigReading ReadPegasusFile();

// Binary replies.

// CI-V frames FE FE <to> <from> 03 <BCD data, least significant byte first> FD; echoes of the
// poll command carry no data. Only frames ended by FD count; where several are in the reply the
// last one's data lead. The "Icom 735" (RigFamily::Icom735) sends 4 data bytes of 10 Hz units.
RigReading ParseIcomFrequency(const QByteArray& reply, RigFamily family);
// CI-V frames with command 04: the first data byte 03 gives "CW", any other "PH".
RigReading ParseIcomMode(const QByteArray& reply);
// 5 bytes: 4 BCD bytes of 10 Hz, most significant first, then the mode byte (00 01 04 08 84 88
// "PH"; 02 03 82 83 "CW"; any other leaves the mode).
RigReading ParseYaesuReply(const QByteArray& reply);
// Status blocks of at least 5 bytes: a binary frequency field (bytes 3-5 of 10 Hz; 1000: low
// digit of byte 2 to high digit of byte 5; 990: bytes 2-4; 920: bytes 2-5 of 1 Hz), then the
// mode in the low digit of byte 8 when the block reaches it (890, 1000, 990: 2 "CW"; 0, 1, 3-7
// "PH"; 920: 1 "CW", any other "PH").
RigReading ParseYaesu890(const QByteArray& reply);
RigReading ParseYaesu1000(const QByteArray& reply);
RigReading ParseYaesu990(const QByteArray& reply);
RigReading ParseYaesu920(const QByteArray& reply);
// Status block: the frequency from BCD bytes 9, 8, 7, 6 (10 Hz units) once all 9 bytes are
// there, then the mode from byte 10 (0, 1 "PH"; 2, 3 "CW"; 4 "AM"; 5 "FM"), read as a decimal
// number up to its first letter.
RigReading ParseYaesu757(const QByteArray& reply);
// Front panel frequency reply of at least 5 bytes: bytes 2-5 a binary number of Hz.
RigReading ParseTenTecPanelA(const QByteArray& reply);
// Front panel mode reply of at least 3 bytes: low digit of byte 2, 0 1 2 4 "PH", 3 "CW".
RigReading ParseTenTecPanelB(const QByteArray& reply);

}  // namespace rig
