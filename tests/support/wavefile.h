#pragma once

#include <QFile>
#include <QString>
#include <QtEndian>

#include <cstdint>

// Writes a silent PCM wave file that plays for the given time, as the operator's own recordings
// stand beside the program. A LIST chunk before the data, as recorders write one, is optional.
inline bool WriteWaveFile(const QString& path, int milliseconds, int sampleRate = 8000, int channels = 1,
                          bool listChunkFirst = false) {
  const auto le32 = [](quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
  };
  const auto le16 = [](quint16 value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
  };
  const quint16 blockAlign = static_cast<quint16>(channels * 2);
  const quint32 bytesPerSecond = static_cast<quint32>(sampleRate) * blockAlign;
  const QByteArray samples(static_cast<qsizetype>(bytesPerSecond) * milliseconds / 1000, '\0');
  QByteArray body = "WAVE";
  body += "fmt " + le32(16) + le16(1) + le16(static_cast<quint16>(channels)) + le32(static_cast<quint32>(sampleRate)) +
          le32(bytesPerSecond) + le16(blockAlign) + le16(16);
  if (listChunkFirst) body += "LIST" + le32(5) + "INFOx" + QByteArray(1, '\0');  // odd size: one pad byte
  body += "data" + le32(static_cast<quint32>(samples.size())) + samples;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  return file.write("RIFF" + le32(static_cast<quint32>(body.size())) + body) > 0;
}
