#include "platform/printerport.h"

#include "platform/errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

#include <optional>

using namespace platform;

namespace {

// Sets an environment variable for the test's span and puts the old value back after it.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const QByteArray& value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) saved_ = qgetenv(name);
    qputenv(name, value);
  }
  ~ScopedVariable() {
    if (saved_) {
      qputenv(name_, *saved_);
    } else {
      qunsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<QByteArray> saved_;
};

// The error Out32 raises, or nothing when it wrote.
std::optional<RuntimeError> Out32Error(std::int32_t address, std::int32_t value) {
  try {
    Out32(address, value);
    return std::nullopt;
  } catch (const RuntimeError& error) {
    return error;
  }
}

TEST(PrinterPortDevice, ClassicBasesAndPerBaseSettings) {
  EXPECT_EQ(PrinterPortDevice(0x378), "/dev/parport0");
  EXPECT_EQ(PrinterPortDevice(0x278), "/dev/parport1");
  EXPECT_EQ(PrinterPortDevice(0x3BC), "/dev/parport2");
  EXPECT_EQ(PrinterPortDevice(0xD010), std::nullopt);
  EXPECT_EQ(PrinterPortDevice(0x37A), std::nullopt);
  EXPECT_EQ(PrinterPortDevice(-2), std::nullopt);

  const ScopedVariable moved("CORVANE_PARPORT_378", "/dev/parport1");
  const ScopedVariable card("CORVANE_PARPORT_D010", "/dev/parport0");
  EXPECT_EQ(PrinterPortDevice(0x378), "/dev/parport1");
  EXPECT_EQ(PrinterPortDevice(0xD010), "/dev/parport0");
  EXPECT_EQ(PrinterPortDevice(0x278), "/dev/parport1");
}

TEST(RecordedPrinterPort, HoldsTheWritesInOrderAndNoDeviceIsTouched) {
  const ScopedVariable missing("CORVANE_PARPORT_378", "/nonexistent/parport");
  {
    RecordedPrinterPort line;
    Out32(890, 3);
    Out32(890, 2);
    Out32(0x27A, 3);
    EXPECT_EQ(line.Writes(), (std::vector<RecordedPrinterPort::Write>{{890, 3}, {890, 2}, {0x27A, 3}}));
  }
  // Once the recording ends, writes go to the device again.
  EXPECT_TRUE(Out32Error(890, 3));
}

TEST(Out32, AnAddressOrDeviceThatIsNoPrinterPortIsARunTimeErrorNamingIt) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString plainFile = folder.filePath("parport");
  QFile file(plainFile);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  const struct {
    const char* device;  // CORVANE_PARPORT_378, or nullptr for a base without one
    std::int32_t address;
    int number;
    const char* named;  // what the description names
  } cases[] = {
      {nullptr, 0xD012, 53, "CORVANE_PARPORT_D010"},
      {"/nonexistent/parport", 890, 53, "/nonexistent/parport"},
      {"/dev/null", 890, 75, "/dev/null"},  // a device, but no printer port
      {nullptr, 890, 75, ""},               // a plain file
  };
  for (const auto& c : cases) {
    const QByteArray device = c.device ? QByteArray(c.device) : QFile::encodeName(plainFile);
    const ScopedVariable setting("CORVANE_PARPORT_378", device);
    const std::optional<RuntimeError> error = Out32Error(c.address, 3);
    ASSERT_TRUE(error) << c.address << " " << device.constData();
    EXPECT_EQ(error->Number(), c.number) << error->Description().toStdString();
    const QString named = c.named[0] ? QString::fromLatin1(c.named) : plainFile;
    EXPECT_TRUE(error->Description().contains(named)) << error->Description().toStdString();
  }
}

// A real port, only where the tester names one: a printer port of the machine may key a
// transmitter, so the suite never reaches one on its own.
TEST(Out32, KeysTheControlRegisterOfARealPrinterPort) {
  const QByteArray device = qgetenv("CORVANE_TEST_PARPORT");
  if (device.isEmpty()) GTEST_SKIP() << "no printer port named in CORVANE_TEST_PARPORT";
  if (access(device.constData(), R_OK | W_OK) != 0) GTEST_SKIP() << "no usable " << device.constData();
  const ScopedVariable named("CORVANE_PARPORT_378", device);
  EXPECT_FALSE(Out32Error(0x378 + PrinterControlOffset, 3));
  EXPECT_FALSE(Out32Error(0x378 + PrinterControlOffset, 2));
}

}  // namespace
