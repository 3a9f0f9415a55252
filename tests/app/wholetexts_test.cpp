#include "app/form1.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "logging/contactlist.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/paths.h"
#include "platform/screen.h"
#include "platform/twips.h"
#include "spotting/frmbandplan.h"
#include "spotting/spotlist.h"

#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "everywindow.h"
#include "fakehome.h"
#include "keptcurrentfolder.h"

// Every window as its load lays it out on common screens, the main window also shrunk to 60 %:
// no text box or label cuts the longest text it is designed to hold, measured with the font the
// control shows against the room its widget gives the text.
namespace {

struct ScreenCase {
  int width;
  int height;
  int formSize;  // the main window's share of the screen; the other windows fit by their own rules
};

const ScreenCase kScreens[] = {{1024, 768, 100}, {1280, 1024, 100}, {1920, 1080, 100},
                               {1024, 768, 60},  {1280, 1024, 60},  {1920, 1080, 60}};

std::string NameOf(const ScreenCase& screen) {
  return std::to_string(screen.width) + "x" + std::to_string(screen.height) + " at " +
         std::to_string(screen.formSize) + " %";
}

// Texts controls hold at run time, longer than what they show at load. A control array's entry
// holds for every element.
struct DesignedText {
  const char* window;
  const char* control;
  const char* text;
};

const DesignedText kDesignedTexts[] = {
    {"Form1", "txtCall", "K1ABC/R"},  // a rover's call
    {"Form1", "txtRSTR", "599"},
    {"Form1", "txtRSTS", "599"},
    {"Form1", "txtSec", "FN42"},
    {"Form1", "txtPostConTime", "23:59"},
    {"Form1", "txtPostConDate", "12/31/2024"},
    {"Form1", "Label23", "359"},     // heading, degrees
    {"Form1", "Label24", "12,430"},  // distance, miles: half the earth
    {"Form1", "Label30", "PH"},
    {"Form1", "lblTotCon", "9999"},
    {"Form1", "lblTotSec", "99999"},
    {"Form1", "lblsectogo", "999"},
    {"Form1", "lblTotScore", "9999999"},
    {"Form1", "Label21", "300 GHz"},  // the current band
    {"Form1", "Label21", "1.3 GHz"},
    {"Form1", "lblCurTime", "12:59:59"},
    {"Form1", "Label16", "PM"},
    {"Form1", "lblutctime", "23:59:59"},
    {"Form1", "lblttrack", "99:59:59"},
    {"Form1", "lblAQSO60", "999"},
    {"Form1", "lblAQSO20", "999"},
    {"Form1", "Label2", "WB2XYZ/R"},  // own call
    {"Form1", "Label4", "FN42"},      // own grid
    {"Form1", "lbl50", "999 / 99"},   // contacts and grids of a band
    {"Form1", "lbl144", "999 / 99"},
    {"Form1", "lbl222", "999 / 99"},
    {"Form1", "lbl432", "999 / 99"},
    {"Form1", "lbl902", "999 / 99"},
    {"Form1", "lbl13", "999 / 99"},
    {"Form1", "lbl23", "999 / 99"},
    {"Form1", "lbl35", "999 / 99"},
    {"Form1", "lbl58", "999 / 99"},
    {"Form1", "lbl10", "999 / 99"},
    {"Form1", "lblGrid", "FN42"},         // a square of the grid map
    {"Form1", "lblFreqSpot", "1296.000"},  // the band map's scale
    {"frmStationID", "Text1", "WB2XYZ/R"},
    {"frmStationID", "Text5", "FN42"},
    {"frmStationID", "Text6", "-10.5"},  // hours added for UTC
    {"frmStationID", "Text3", "-45.25"},  // latitude
    {"frmStationID", "Text2", "-122.5"},  // longitude
    {"frmNetwork", "Text1", "OPERATOR10"},  // a station name of ten characters
    {"frmNetwork", "lblServer", "OPERATOR10"},
    {"frmNetwork", "lblStatus", "Connect pendingConnection # 12"},
    {"frmNetwork", "lblBandSSB", "Station-10"},  // a station on the band and mode
    {"frmNetwork", "lblBandCW", "Station-10"},
    {"frmNetwork", "lblBandDIG", "Station-10"},
    {"CWFrm", "Text10", "16"},      // serial port
    {"CWFrm", "Text14", "&H3BC"},   // printer-port base
    {"CWFrm", "Text11", "60"},      // words per minute
    {"CWFrm", "txtSpace", "9"},
    {"CWFrm", "txtCWLoop", "99"},
    {"CWFrm", "txtLoop", "99999"},  // loops per 60 ms
    {"PhoneFrm", "Text10", "16"},
    {"PhoneFrm", "Text11", "&H3BC"},
    {"PhoneFrm", "txtPHLoop", "99"},
    {"frmTappler", "txtTPComPort", "16"},
    {"frmTappler", "txtTPWPM", "60"},
    {"frmTappler", "txtWeight", "99"},
    {"frmTappler", "txtRatio", "67"},
    {"frmTappler", "txtLeadIn", "255"},  // tens of milliseconds, a byte to the device
    {"frmTappler", "txtTail", "255"},
    {"frmCodePractice", "Text3", "99"},  // groups
    {"frmCodePractice", "Text4", "99"},  // characters per group
    {"frmCodePractice", "Label8", "60"},
    {"frmRigTune", "txtFreq", "1296.100"},
    {"frmRigTune", "txtFrom", "1296"},
    {"frmRigTune", "txtTo", "1300"},
    {"PacketSpotfrm", "txtHex", "FF"},
    {"PacketSpotfrm", "txtTelnetPort", "65535"},
    {"PacketSpotfrm", "txtTelnetHost", "dxc.example.org"},
};

// What the design itself cuts, left as designed: each is cut on at least one of the screens up to
// the width and main-window share given, and on no other.
struct DesignCut {
  const char* window;
  const char* control;  // a name or the start of names; empty: any control of the window
  const char* text;
  int widestScreen;
  int largestFormSize;
  const char* why;
};

const DesignCut kDesignCuts[] = {
    {"Form1", "txtCall", "WB2XYZ/R", 1280, 100,
     "the call box holds seven characters of its bold face on screens whose width grows no faster than "
     "their height; a longer call scrolls in it"},
    {"Form1", "txtCall", "VP2E/WB2XYZ", 1920, 100, "an eleven-character call, on every screen"},
    {"Form1", "txtSec", "FN42ab", 1280, 100,
     "the grid box is designed for the four-character square the contests exchange"},
    {"Form1", "txtRSTR", "599", 1280, 60,
     "at 60 % the box's frame and margins, which do not shrink with it, leave less room than its three digits; "
     "the size dialog itself warns that sizes below 75 do not display well"},
    {"Form1", "txtRSTS", "599", 1280, 60, "the same as the Rcvd box"},
    {"frmNetwork", "lblBand", "OPERATOR10", 1280, 100,
     "a station name of ten capitals is wider than its band cell on screens up to 1280"},
    {"frmBandPlan", "priv", "50.0", 1024, 100,
     "a 100 kHz segment on the 4 MHz bar of 6 m is narrower than its lower edge on a 1024 screen; its tool tip "
     "names it"},
    {"frmBandPlan", "priv", "144.0", 1280, 100, "the same on 2 m, at 1024 and 1280"},
};

bool Excuses(const DesignCut& cut, const platform::Form& form, const platform::Control& control, const QString& text,
             const ScreenCase& screen) {
  return form.Name() == cut.window && control.Name().startsWith(cut.control) && text == cut.text &&
         screen.width <= cut.widestScreen && screen.formSize <= cut.largestFormSize;
}

// The room a line edit gives its text: the frame and the text margins off, and the margin of two
// pixels a side it keeps; the text scrolls once it needs more. The letters themselves must lie
// within its height.
bool LineEditHolds(const QLineEdit& edit, const QString& text) {
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.rect = edit.contentsRect();
  option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
  option.state |= QStyle::State_Sunken;
  const QRect room = edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit).marginsRemoved(edit.textMargins());
  constexpr int kSideMargin = 2;
  const QFontMetrics metrics(edit.font());
  const int lineTop = room.y() + (room.height() - metrics.height() + 1) / 2;
  const QRect ink = metrics.tightBoundingRect(text).translated(0, lineTop + metrics.ascent());
  return metrics.horizontalAdvance(text) + 1 <= room.width() - 2 * kSideMargin && ink.top() >= room.top() &&
         ink.bottom() <= room.bottom();
}

// A label's words wrap within its width; the lines they take must fit its height, and no word may
// be wider than the label.
bool LabelHolds(const QLabel& label, const QString& text) {
  const QRect room = label.contentsRect();
  const QRect needed = QFontMetrics(label.font()).boundingRect(QRect(0, 0, room.width(), INT_MAX), Qt::TextWordWrap, text);
  return needed.width() <= room.width() && needed.height() <= room.height();
}

// A band-plan segment reads its lower edge; the rest wraps below within the bar and is in its tool
// tip, as the segment is as wide as its share of the band.
bool IsBandPlanSegment(const platform::Form& form, const platform::Control& control) {
  return form.Name() == "frmBandPlan" && control.Name().startsWith("priv");
}

QString DesignedShownText(const platform::Form& form, const platform::Control& control, const QString& text) {
  return IsBandPlanSegment(form, control) ? text.section(' ', 0, 0) : text;
}

class WholeTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QFile::copy(CORVANE_SOURCE_DIR "/data/BandPlan.txt", folder.filePath("BandPlan.txt")));
    platform::ChDir(folder.path());
    app::ProgramDir = folder.path();
  }
  void TearDown() override {
    platform::UnloadAll();
    app::FormSize = 100;
  }

  // Every text the window's single-line boxes and labels hold as loaded and by design, each
  // measured in its control.
  void Walk(const platform::Form& form, const ScreenCase& screen) {
    walked.insert(form.Name());
    for (const platform::Control* control : form.Controls()) {
      if (!control->Widget()) continue;
      for (const QString& text : TextsOf(form, *control)) Check(form, *control, text, screen);
    }
  }

  QStringList TextsOf(const platform::Form& form, const platform::Control& control) const {
    QStringList texts;
    if (const auto* edit = qobject_cast<const QLineEdit*>(control.Widget())) {
      texts << edit->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(control.Widget())) {
      texts << DesignedShownText(form, control, label->text());
    } else {
      return {};
    }
    for (const DesignedText& designed : kDesignedTexts) {
      if (form.Name() == designed.window && control.Name() == designed.control) texts << designed.text;
    }
    for (const DesignCut& cut : kDesignCuts) {
      if (form.Name() == cut.window && control.Name().startsWith(cut.control) && !IsBandPlanSegment(form, control)) {
        texts << cut.text;
      }
    }
    texts.removeAll(QString());
    texts.removeDuplicates();
    return texts;
  }

  void Check(const platform::Form& form, const platform::Control& control, const QString& text, const ScreenCase& screen) {
    const auto* edit = qobject_cast<const QLineEdit*>(control.Widget());
    const bool holds = edit ? LineEditHolds(*edit, text) : LabelHolds(*static_cast<const QLabel*>(control.Widget()), text);
    if (holds) return;
    for (const DesignCut& cut : kDesignCuts) {
      if (Excuses(cut, form, control, text, screen)) {
        designCutsSeen.insert(&cut);
        return;
      }
    }
    ADD_FAILURE() << NameOf(screen) << ": " << form.Name().toStdString() << "." << control.Name().toStdString()
                  << "(" << control.Index() << ") cuts \"" << text.toStdString() << "\"";
  }

  FakeHome home;  // the logo window's load makes the maker's folders
  platform::ScriptedDialogs dialogs;  // the empty log has no graph
  KeptCurrentFolder currentFolder;
  QTemporaryDir folder;  // the program folder, with the shipped band plan
  std::set<QString> walked;
  std::set<const DesignCut*> designCutsSeen;
};

// The main window as its load lays it out, shrunk to the share of the screen its preference asks.
void LayOutAsLoaded(app::Form1& form, const ScreenCase& screen) {
  app::ModFormResize::FillScreen(form);
  form.ResizeBandLists();
  logging::CreateContactListColumns(form);
  spotting::CreateSpotListColumns(form);
  if (screen.formSize < 100) {
    app::FormSize = screen.formSize;
    form.ResizeControls();
  }
}

TEST_F(WholeTexts, NoWindowCutsATextItIsDesignedToHold) {
  for (const ScreenCase& screen : kScreens) {
    SCOPED_TRACE(NameOf(screen));
    platform::Screen::SetSizeForTesting(screen.width * platform::TwipsPerPixel, screen.height * platform::TwipsPerPixel);
    for (const WindowOpening& open : EveryWindow()) {
      platform::Form& form = open();
      if (auto* main = dynamic_cast<app::Form1*>(&form)) LayOutAsLoaded(*main, screen);
      if (auto* plan = dynamic_cast<spotting::frmBandPlan*>(&form)) {
        // The band-plan viewer draws each licence class's segments in turn.
        for (platform::CommandButton* button : {&plan->Command1, &plan->Command2, &plan->Command3, &plan->Command4,
                                                &plan->Command5, &plan->Command6}) {
          QTest::mouseClick(button->Widget(), Qt::LeftButton);
          Walk(*plan, screen);
        }
      } else {
        Walk(form, screen);
      }
    }
    platform::UnloadAll();
    app::FormSize = 100;
  }

  EXPECT_EQ(walked, WindowClassesInSources()) << "every window is walked";
  for (const DesignCut& cut : kDesignCuts) {
    EXPECT_TRUE(designCutsSeen.count(&cut)) << "\"" << cut.text << "\" fits everywhere now: " << cut.why;
  }
}

}  // namespace
