// The AGW engine's byte stream, whole and damaged, split wherever the socket splits it.
#include "platform/agwframe.h"

#include <gtest/gtest.h>

#include "corpus.h"

namespace {

using fuzzing::Corpus;
using platform::AgwFrame;
using platform::AgwFrameReader;

QByteArray Encoded(std::initializer_list<AgwFrame> frames) {
  QByteArray stream;
  for (const AgwFrame& frame : frames) stream += platform::EncodeAgwFrame(frame);
  return stream;
}

const std::vector<QByteArray> kStreams = {
    Encoded({{0, 'X', 0, "Q1XYZ", "", ""}, {0, 'm', 0, "", "", ""}}),
    Encoded({{1, 'U', 0xF0, "Q2ABC-15", "DX", "DX de Q2ABC:     50125.0  Q1XYZ        FN42\r"},
             {0, 'D', 0xF0, "CLUSTER", "Q1XYZ", "Q1XYZ de CLUSTER >\r\n"}}),
    Encoded({{0, 'C', 0, "CLUSTER", "Q1XYZ", "*** CONNECTED With Station CLUSTER\r"}, {0, 'd', 0, "A", "B", ""}}),
};

bool SameFrame(const AgwFrame& a, const AgwFrame& b) {
  return a.port == b.port && a.kind == b.kind && a.pid == b.pid && a.callFrom == b.callFrom && a.callTo == b.callTo &&
         a.data == b.data;
}

QByteArray RandomCall(Corpus& corpus) {
  QByteArray call(corpus.Between(0, 12), Qt::Uninitialized);
  for (char& c : call) c = static_cast<char>(corpus.Between(1, 255));
  return call;
}

TEST(AgwFrameFuzz, FramesComeBackWholeHoweverTheStreamIsSplit) {
  Corpus corpus({}, 0xA6'0001);
  for (int k = 0; k < fuzzing::Scaled(5000); ++k) {
    std::vector<AgwFrame> sent;
    QByteArray stream;
    for (qsizetype n = corpus.Between(1, 6); n > 0; --n) {
      const char kind = static_cast<char>(corpus.Between(0, 1) ? corpus.Between('A', 'Z') : corpus.Between('a', 'z'));
      QByteArray data = corpus.Mutated();
      if (corpus.Between(0, 200) == 0) data = QByteArray(platform::AgwLargestData, 'x');
      AgwFrame frame{static_cast<std::uint8_t>(corpus.Between(0, 255)), kind, static_cast<std::uint8_t>(corpus.Between(0, 255)),
                     RandomCall(corpus), RandomCall(corpus), data.left(platform::AgwLargestData)};
      stream += platform::EncodeAgwFrame(frame);
      frame.callFrom.truncate(platform::AgwCallSize);
      frame.callTo.truncate(platform::AgwCallSize);
      sent.push_back(frame);
    }
    AgwFrameReader reader;
    std::vector<AgwFrame> received;
    for (const QByteArray& piece : fuzzing::RandomPieces(stream, corpus)) {
      reader.Append(piece);
      while (std::optional<AgwFrame> frame = reader.Next()) received.push_back(*frame);
    }
    ASSERT_TRUE(reader.Fault().isEmpty()) << reader.Fault().toStdString();
    ASSERT_FALSE(reader.WithinFrame());
    ASSERT_EQ(received.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) ASSERT_TRUE(SameFrame(received[i], sent[i])) << i;
  }
}

TEST(AgwFrameFuzz, ADamagedStreamGivesBoundedFramesOrEndsWithAFault) {
  Corpus corpus(kStreams, 0xA6'0002);
  corpus.ForEach(fuzzing::Scaled(20000), [&](const QByteArray& stream) {
    AgwFrameReader reader;
    qsizetype handedOut = 0;
    for (const QByteArray& piece : fuzzing::RandomPieces(stream, corpus)) {
      reader.Append(piece);
      while (std::optional<AgwFrame> frame = reader.Next()) {
        ASSERT_TRUE(std::isalpha(static_cast<unsigned char>(frame->kind)));
        ASSERT_LE(frame->data.size(), qsizetype{platform::AgwLargestData});
        ASSERT_LE(frame->callFrom.size(), platform::AgwCallSize);
        ASSERT_LE(frame->callTo.size(), platform::AgwCallSize);
        ASSERT_FALSE(frame->callFrom.contains('\0') || frame->callTo.contains('\0'));
        handedOut += platform::AgwHeaderSize + frame->data.size();
      }
    }
    ASSERT_LE(handedOut, stream.size());
    if (!reader.Fault().isEmpty()) {
      reader.Append(kStreams[0]);
      ASSERT_FALSE(reader.Next().has_value());  // a fault ends the stream for good
    }
  });
}

}  // namespace
