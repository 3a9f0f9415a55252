// Which device a port number stands for.
#include <gtest/gtest.h>

#include <cstdlib>

#include "serialportpath.h"

TEST(SerialPortPath, PortNumberNamesTtySUnlessTheEnvironmentNamesAnother) {
  struct Case {
    int port;
    const char* override;
    const char* expected;
  };
  const Case cases[] = {
      {1, nullptr, "/dev/ttyS0"},        {4, nullptr, "/dev/ttyS3"},
      {4, "/dev/ttyUSB0", "/dev/ttyUSB0"}, {4, "", "/dev/ttyS3"},
      {0, nullptr, ""},                  {0, "/dev/pts/9", "/dev/pts/9"},
  };
  for (const Case& c : cases) {
    const std::string variable = "CORVANE_PORT" + std::to_string(c.port);
    if (c.override != nullptr) {
      setenv(variable.c_str(), c.override, 1);
    } else {
      unsetenv(variable.c_str());
    }
    EXPECT_EQ(tapplink::SerialPortPath(c.port), c.expected) << c.port << " " << (c.override ? c.override : "-");
    unsetenv(variable.c_str());
  }
}
