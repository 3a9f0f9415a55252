// The rig window as an operator meets it: in a program folder of its own, with the main window
// there (Done saves the preferences through it) and no serial port that reaches a real device.
#pragma once

#include "app/form1.h"
#include "app/globals.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/paths.h"
#include "rig/rigcontrolfrm.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "formtesting.h"
#include "programfolderfixture.h"
#include "polledrig.h"

class RigWindowTest : public ProgramFolderTest {
 protected:
  static constexpr int kPorts = 10;
  // The box "Invalid Comm Settings." of a rig port that fails.
  static constexpr const char* kInvalidCommSettings =
      "The comm port that you selected for rig interface is either in use, invalid or the settings that you have "
      "selected are invalid.  Please select another combination or choose None for your rig selection.";

  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform::ChDir(folder.path());
    // Every port the window offers leads nowhere unless a test puts a line there.
    for (int port = 1; port <= kPorts; ++port) qputenv(PortVariable(port), Missing().toLocal8Bit());
    platform::InstanceWithoutLoad<app::Form1>();
  }
  void TearDown() override {
    platform::UnloadAll();
    for (int port = 1; port <= kPorts; ++port) qunsetenv(PortVariable(port));
    ProgramFolderTest::TearDown();
  }

  static QByteArray PortVariable(int port) { return "CORVANE_PORT" + QByteArray::number(port); }
  QString Missing() const { return folder.filePath("no-such-device"); }
  QString SettingsPath() const { return folder.filePath("RigCntrl.txt"); }

  // The window's first use, shown to the operator.
  static rig::RigControlfrm& OpenWindow() {
    rig::RigControlfrm& window = platform::Instance<rig::RigControlfrm>();
    ShowActive(window);
    return window;
  }

  static void Click(const platform::Control& control) { QTest::mouseClick(control.Widget(), Qt::LeftButton); }

  // The caption of the option selected among `options`; "" when none is.
  static QString Selected(std::initializer_list<const platform::OptionButton*> options) {
    for (const platform::OptionButton* option : options) {
      if (option->Value()) return option->Caption();
    }
    return {};
  }
  static QString SelectedBaud(const rig::RigControlfrm& w) {
    const platform::BaudRateOptions& baud = w.baud;
    return Selected({&baud.optBaud12, &baud.optBaud24, &baud.optBaud48, &baud.optBaud96, &baud.optBaud144,
                     &baud.optBaud192, &w.optBaud288, &w.optBaud384, &w.optBaud560});
  }
  static QString SelectedParity(const rig::RigControlfrm& w) {
    return Selected({&w.optParityNone, &w.optParityOdd, &w.optParityEven});
  }
  static QString SelectedDataBits(const rig::RigControlfrm& w) {
    return Selected({&w.bits.optData7, &w.bits.optData8});
  }
  static QString SelectedStopBits(const rig::RigControlfrm& w) {
    return Selected({&w.bits.optStop1, &w.bits.optStop2});
  }
  static QString SelectedPort(const rig::RigControlfrm& w) {
    for (int index : w.optComm.Indexes()) {
      if (w.optComm(index).Value()) return w.optComm(index).Caption();
    }
    return {};
  }
  static QString SelectedPower(const rig::RigControlfrm& w) {
    return Selected({&w.optPowerNone, &w.optPowerRTS, &w.optPowerDTR});
  }
  static QString SelectedPollRate(const rig::RigControlfrm& w) {
    return Selected({&w.optPollFast, &w.optPollMed, &w.optPollSlow, &w.optReallySlow});
  }
  static QString SelectedModeSource(const rig::RigControlfrm& w) { return Selected({&w.OptRig, &w.OptFreq, &w.OptDont}); }

  platform::ScriptedDialogs dialogs;
};

// The same with a simulated rig on port kRigPort, for the windows that tune it.
class PolledRigTest : public RigWindowTest {
 protected:
  static constexpr int kRigPort = 4;

  void SetUp() override {
    RigWindowTest::SetUp();
    polledRig = std::make_unique<PolledSimulatedRig>(kRigPort);  // after the fixture has pointed the ports away
  }

  rig::RigControlfrm& Start(const QString& rigName) { return polledRig->Start(rigName); }
  QByteArray Sent() { return polledRig->Sent(); }

  std::unique_ptr<PolledSimulatedRig> polledRig;
};
