#include "app/form1.h"
#include "app/frmstationid.h"
#include "app/frmvarneklogo.h"
#include "keying/blindfrm.h"
#include "keying/cwfrm.h"
#include "keying/frmcodepractice.h"
#include "keying/frmcwstrings.h"
#include "keying/frmtappler.h"
#include "keying/phonefrm.h"
#include "logtools/form2.h"
#include "logtools/form5.h"
#include "logtools/form6.h"
#include "logtools/frmeditcon.h"
#include "logtools/frmimport.h"
#include "logtools/graphqso.h"
#include "network/frmnetwork.h"
#include "platform/forms.h"
#include "platform/screen.h"
#include "rig/frmfrequencytest.h"
#include "rig/frmrigtune.h"
#include "rig/rigcontrolfrm.h"
#include "spotting/frmbandplan.h"
#include "spotting/packetspotfrm.h"
#include "spotting/spotmapwindow.h"

#include <gtest/gtest.h>

#include <functional>

#include "fakehome.h"

namespace {

// One window of the registry, reached only through its global instance.
struct Window {
  const char* name;
  QString caption;
  std::function<platform::Form&()> instance;
  std::function<bool()> isLoaded;
};

template <class F>
Window Entry(const char* name, const char* caption) {
  return {name, QString::fromUtf8(caption), [] () -> platform::Form& { return platform::Instance<F>(); },
          [] { return platform::IsLoaded<F>(); }};
}

// The start-up window is left out: its load is the whole start-up (tests/app/startup_test.cpp).
const Window kWindows[] = {
    Entry<app::frmVarnekLogo>("frmVarnekLogo", ""),
    Entry<app::frmStationID>("frmStationID", " Amateur Station I.D."),
    Entry<network::frmNetwork>("frmNetwork", " Network Status Display"),
    Entry<logtools::frmEditCon>("frmEditCon", "Edit Contact Entry"),
    Entry<logtools::frmImport>("frmImport", "Append Data or Restore From Backup"),
    Entry<logtools::Form2>("Form2", "Summary Sheet Information"),
    Entry<logtools::GraphQSO>("GraphQSO", " Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"),
    Entry<logtools::Form5>("Form5", "Help Page"),
    Entry<logtools::Form6>("Form6", " Modify Multiplier Color Selections"),
    Entry<keying::CWFrm>("CWFrm", "CW String Selections"),
    Entry<keying::frmTappler>("frmTappler", " Tappler Setup"),
    Entry<keying::frmCWStrings>("frmCWStrings", "CW Strings"),
    Entry<keying::frmCodePractice>("frmCodePractice", "On the Air Code Practice"),
    Entry<keying::PhoneFrm>("PhoneFrm", "Phone Wave Selections"),
    Entry<keying::BlindFrm>("BlindFrm", "Voice Navigation Settings"),
    Entry<rig::RigControlfrm>("RigControlfrm", "Rig Control"),
    Entry<rig::frmRigTune>("frmRigTune", " Change Frequency and Mode (Ctrl G (Go))"),
    Entry<rig::frmFrequencyTest>("frmFrequencyTest", "Test Change Frequency Function"),
    Entry<spotting::PacketSpotfrm>("PacketSpotfrm", " DX Spotting Setup"),
    Entry<spotting::SpectrumMap>("SpectrumMap", " HF Spectrum Map"),
    Entry<spotting::frmBandPlan>("frmBandPlan", "Frequency Privileges"),
};

class WindowsTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::UnloadAll(); }

  FakeHome home;  // the logo window's load makes the maker's folders
};

TEST_F(WindowsTest, EveryWindowLoadsHiddenOnFirstUseAndUnloads) {
  for (const Window& window : kWindows) {
    SCOPED_TRACE(window.name);
    EXPECT_FALSE(window.isLoaded());
    platform::Form& form = window.instance();
    EXPECT_TRUE(window.isLoaded());
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Name(), window.name);
    EXPECT_EQ(form.Caption(), window.caption);
    EXPECT_EQ(&window.instance(), &form) << "one global instance";
    form.Unload();
    EXPECT_FALSE(window.isLoaded());
  }
}

TEST_F(WindowsTest, WindowsDesignedByTheirClientAreaHaveThatArea) {
  platform::Screen::SetSizeForTesting(9600, 7200);  // the design screen: fitting at load changes nothing
  const struct {
    std::function<platform::Form&()> instance;
    double scaleWidth, scaleHeight;
  } designs[] = {
      {[]() -> platform::Form& { return platform::Instance<app::frmVarnekLogo>(); }, 14355, 7920},
      {[]() -> platform::Form& { return platform::Instance<logtools::Form6>(); }, 5595, 2115},
      {[]() -> platform::Form& { return platform::Instance<keying::frmCWStrings>(); }, 2610, 4965},
      {[]() -> platform::Form& { return platform::Instance<rig::frmFrequencyTest>(); }, 5535, 3975},
      {[]() -> platform::Form& { return platform::Instance<spotting::frmBandPlan>(); }, 9480, 6690},
  };
  for (const auto& design : designs) {
    platform::Form& form = design.instance();
    SCOPED_TRACE(form.Name().toStdString());
    EXPECT_EQ(form.ScaleWidth(), design.scaleWidth);
    EXPECT_EQ(form.ScaleHeight(), design.scaleHeight);
  }
}

TEST_F(WindowsTest, TheNextUseAfterUnloadStartsFromTheDesign) {
  app::Form1& first = platform::InstanceWithoutLoad<app::Form1>();
  first.lblDialog.SetCaption("changed");
  first.Timer3.SetEnabled(true);
  first.Unload();
  platform::DoEvents();
  ASSERT_FALSE(platform::IsLoaded<app::Form1>());
  app::Form1& second = platform::InstanceWithoutLoad<app::Form1>();
  EXPECT_EQ(second.lblDialog.Caption(), "");
  EXPECT_FALSE(second.Timer3.Enabled());
}

// The program ends when its main window is destroyed; closing the window must lead there.
TEST_F(WindowsTest, ClosingTheMainWindowDestroysIt) {
  app::Form1& form1 = platform::InstanceWithoutLoad<app::Form1>();
  bool destroyed = false;
  QObject::connect(form1.Widget(), &QObject::destroyed, [&destroyed] { destroyed = true; });
  form1.Show();
  form1.Widget()->close();
  platform::DoEvents();
  EXPECT_TRUE(destroyed);
  EXPECT_FALSE(platform::IsLoaded<app::Form1>());
}

}  // namespace
