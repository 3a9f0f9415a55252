// The fixture of the tests that drive the library's exports: a library back at its state at
// load before each test, and nothing left open after it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "keyerclock.h"
#include "keyerstate.h"
#include "keyertesting.h"
#include "tapplink.h"

// The port number the tests point at their device.
inline constexpr int kPort = 7;

class KeyerLibraryTest : public ::testing::Test {
 protected:

  void SetUp() override {
    tapplink::ResetForTesting();
    keyertesting::CallbackLog::Clear();
  }

  void TearDown() override {
    tapplink::HoldWriterForTesting(false);
    tp_close();
    tp_power(kPort, 0);
    tapplink::SetSleepForTesting(nullptr);
    unsetenv(PortVariable(kPort).c_str());
  }

  static std::string PortVariable(int port) { return "CORVANE_PORT" + std::to_string(port); }

  // Port `port` now stands for `device`.
  static void PointPortAt(const std::string& device, int port = kPort) {
    setenv(PortVariable(port).c_str(), device.c_str(), 1);
  }

  // The library reaches the simulated device on kPort. The handshake's waits are for a real
  // device: the simulated one answers at once.
  static void UseDevice(const keyertesting::KeyerDevicePeer& device) {
    tapplink::SetSleepForTesting([](tapplink::Milliseconds) {});
    PointPortAt(device.HostLine());
  }

  static bool DtrRaised() { return tapplink::TheLibrary().port.DtrRaisedForTesting(); }
};
