// Every window read by a screen reader: each control that takes input or shows a value says what
// it is, by the name of its caption label or one of its own.
#include "app/form1.h"
#include "app/frmstationid.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "spotting/packetspotfrm.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

#include <set>

#include "everywindow.h"
#include "fakehome.h"

namespace {

using platform::Control;
using platform::ControlKind;

QString AccessibleName(const QWidget* widget) {
  return QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget))->text(QAccessible::Name).trimmed();
}

bool TakesInput(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::ListView:
    case ControlKind::UpDown:
    case ControlKind::CommandButton:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
      return true;
    default:
      return false;
  }
}

bool HasALetter(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// What the walk finds unnamed: an input with no name; a label whose name is blank or a bare
// figure ("0", "00:00:00", "14.000"), which is a value read without what it is.
QStringList UnnamedControls(const platform::Form& form) {
  QStringList unnamed;
  for (const Control* control : form.Controls()) {
    if (!control->Widget()) continue;
    const QString name = AccessibleName(control->Widget());
    const bool named = control->Kind() == ControlKind::Label ? HasALetter(name) : !name.isEmpty();
    if ((TakesInput(control->Kind()) || control->Kind() == ControlKind::Label) && !named) {
      unnamed << QStringLiteral("%1.%2 [%3]").arg(form.Name(), control->Widget()->objectName(), name);
    }
    if (control->Kind() == ControlKind::UpDown) {
      const auto& arrows = static_cast<const platform::UpDown&>(*control);
      for (const QWidget* arrow : {arrows.UpArrow(), arrows.DownArrow()}) {
        if (AccessibleName(arrow).isEmpty()) unnamed << form.Name() + '.' + arrow->objectName();
      }
    }
  }
  return unnamed;
}

class AccessibleNames : public ::testing::Test {
 protected:
  void TearDown() override { platform::UnloadAll(); }

  FakeHome home;                      // the logo window's load makes the maker's folders
  platform::ScriptedDialogs dialogs;  // loads that find no files say so
};

TEST_F(AccessibleNames, EveryWindowNamesEachInputListAndValue) {
  std::set<QString> walked;
  QStringList unnamed;
  for (const WindowOpening& open : EveryWindow()) {
    platform::Form& form = open();
    walked.insert(form.Name());
    unnamed << UnnamedControls(form);
    platform::UnloadAll();
  }
  EXPECT_EQ(walked, WindowClassesInSources()) << "the walk covers every window";
  EXPECT_TRUE(unnamed.isEmpty()) << unnamed.size() << " unnamed:\n" << unnamed.join('\n').toStdString();
}

QString AccessibleDescription(const QWidget* widget) {
  return QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget))->text(QAccessible::Description);
}

// Names as the operator reads the captions, and descriptions where a caption says too little.
TEST_F(AccessibleNames, TheEntryLineTheSetUpAndTheMainWindowsFiguresReadAsTheirCaptions) {
  app::Form1& main = platform::InstanceWithoutLoad<app::Form1>();
  app::frmStationID& setUp = platform::Instance<app::frmStationID>();
  const struct {
    const platform::Control& control;
    const char* name;
    const char* description;
  } expected[] = {
      {main.txtCall, "Call", ""},
      {main.txtRSTR, "Rcvd", ""},
      {main.txtSec, "Grid", ""},
      {main.txtRSTS, "Sent", ""},
      {main.lblTotCon, "Total Contacts", ""},
      {main.lblTotScore, "Total Score", ""},
      {main.lblttrack, "Total Time On", ""},
      {main.Label23, "Hdg", "Heading, degrees"},
      {main.Command7, "North", "Grid map north"},
      {main.Command4, "South", "Grid map south"},
      {main.Command5, "West", "Grid map west"},
      {main.Command6, "East", "Grid map east"},
      {main.cmdDup, "Partial On", ""},
      {main.ListView1, "Contacts", "Click record to edit or delete."},
      {main.List1, "50 MHz", "Grids worked on the band"},
      {setUp.Text1, "Please Enter your Call Sign", ""},
      {setUp.Text5, "Your Grid Square", ""},
      {setUp.Text6, "Hours added for UTC", ""},
      {setUp.Text3, "Latitude", ""},
      {setUp.Text2, "Longitude", ""},
      {setUp.Text8, "Path to network log file", ""},
  };
  for (const auto& control : expected) {
    SCOPED_TRACE(control.control.Name().toStdString());
    EXPECT_EQ(AccessibleName(control.control.Widget()), control.name);
    EXPECT_EQ(AccessibleDescription(control.control.Widget()), control.description);
  }
}

// A value label keeps reading what it shows; names follow captions the program changes.
TEST_F(AccessibleNames, ValuesAndChangedCaptionsReadAsShown) {
  app::Form1& main = platform::InstanceWithoutLoad<app::Form1>();
  main.lblTotCon.SetCaption("12");
  QAccessibleInterface* total = QAccessible::queryAccessibleInterface(main.lblTotCon.Widget());
  EXPECT_EQ(total->text(QAccessible::Name), "Total Contacts");
  EXPECT_EQ(total->text(QAccessible::Value), "12");
  ASSERT_NE(total->textInterface(), nullptr);
  EXPECT_EQ(total->textInterface()->text(0, total->textInterface()->characterCount()), "12");

  QTest::mouseClick(main.cmdDup.Widget(), Qt::LeftButton);
  EXPECT_EQ(AccessibleName(main.cmdDup.Widget()), "Partial Off");

  spotting::PacketSpotfrm& spotting = platform::Instance<spotting::PacketSpotfrm>();
  for (int i = 0; i < spotting.List1.ListCount(); ++i) {
    if (spotting.List1.List(i) == "Telnet") spotting.List1.SetListIndex(i);
  }
  EXPECT_EQ(AccessibleName(spotting.txtSent.Widget()), "Type text to send and press enter");
}

}  // namespace
