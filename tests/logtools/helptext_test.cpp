#include <QFile>

#include <gtest/gtest.h>

// The help text beside the program is shown as stored, so it keeps the CR LF line ends of the
// program's text files whatever an editor or a checkout does to line ends.
TEST(HelpText, ShipsWithCrLfLineEnds) {
  QFile file(QStringLiteral(CORVANE_SOURCE_DIR "/data/rdCorvane.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  ASSERT_FALSE(text.isEmpty());
  EXPECT_TRUE(text.endsWith("\r\n"));
  EXPECT_EQ(text.count("\n"), text.count("\r\n")) << "a line ends without CR LF";
  EXPECT_EQ(text.count("\r"), text.count("\r\n")) << "a CR stands alone";
}
