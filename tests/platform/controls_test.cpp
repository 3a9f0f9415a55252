#include "platform/dialogs.h"
#include "platform/forms.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "drawntesting.h"
#include "formtesting.h"
#include "testbound.h"

using namespace platform;

namespace {

class BoxForm : public Form {
 public:
  BoxForm() : Form("BoxForm") {
    txtCall.Move(120, 120, 1500, 300);
    txtNotes.Move(120, 600, 3000, 1200);
    txtCall.Change = [this] { changes.push_back(txtCall.Text()); };
    txtNotes.Change = [this] { changes.push_back(txtNotes.Text()); };
  }
  TextBox txtCall{this, "txtCall"};
  TextBox txtNotes{this, "txtNotes", MultiLine};
  std::vector<QString> changes;
};

struct MaxLengthCase {
  int maxLength;
  const char* set;
  const char* shown;
};

TEST(TextBox, MaxLengthCutsTextSetByCodeInBothKinds) {
  const MaxLengthCase cases[] = {
      {13, "KD9ABC/VE3/MM", "KD9ABC/VE3/MM"},
      {3, "5999", "599"},
      {2, "599", "59"},
      {0, "no limit at all for this one", "no limit at all for this one"},
  };
  for (const MaxLengthCase& c : cases) {
    SCOPED_TRACE(c.set);
    BoxForm form;
    for (TextBox* box : {&form.txtCall, &form.txtNotes}) {
      box->SetMaxLength(c.maxLength);
      box->SetText(c.set);
      EXPECT_EQ(box->Text(), QString(c.shown));
    }
  }
}

struct CutCase {
  const char* what;
  const char* text;
  int maxLength;
  bool limitFirst;  // MaxLength set before the text, or after it
  const char* shown;
  int changes;
};

TEST(TextBox, TextSetByCodeLosesItsEndCountingLineBreaksAsCrLfALaterLimitKeepsIt) {
  const CutCase cases[] = {
      {"text cut to a limit set before", "ab\r\ncd\r\nef", 5, true, "ab\r\nc", 1},
      {"a break that does not fit whole goes", "ab\r\ncd", 3, true, "ab", 1},
      {"lone LF counts as CR LF", "ab\ncd", 4, true, "ab\r\n", 1},
      {"a limit set after the text leaves it", "ab\r\ncd\r\nef", 6, false, "ab\r\ncd\r\nef", 1},
      {"a limit the text fits leaves it", "ab\r\ncd", 6, false, "ab\r\ncd", 1},
      {"single line, limit after", "W1AW FN31", 4, false, "W1AW FN31", 1},
      {"single line, limit before", "W1AW FN31", 4, true, "W1AW", 1},
  };
  for (const CutCase& c : cases) {
    SCOPED_TRACE(c.what);
    BoxForm form;
    const bool lineBreaks = QString(c.text).contains('\n');
    for (TextBox* box : {&form.txtNotes, &form.txtCall}) {
      if (lineBreaks && box == &form.txtCall) continue;
      form.changes.clear();
      if (c.limitFirst) box->SetMaxLength(c.maxLength);
      box->SetText(c.text);
      if (!c.limitFirst) box->SetMaxLength(c.maxLength);
      EXPECT_EQ(box->Text(), QString(c.shown)) << box->Name().toStdString();
      EXPECT_EQ(form.changes.size(), static_cast<std::size_t>(c.changes)) << box->Name().toStdString();
      if (!form.changes.empty()) {
        EXPECT_EQ(form.changes.back(), QString(c.shown));
      }
    }
  }
}

TEST(TextBox, MaxLengthStopsTypingInBothKinds) {
  BoxForm form;
  ShowActive(form);
  for (TextBox* box : {&form.txtCall, &form.txtNotes}) {
    box->SetMaxLength(3);
    box->SetFocus();
    QTest::keyClicks(box->Widget(), "59912");
    EXPECT_EQ(box->Text(), "599");
  }
}

// A character of two UTF-16 units that does not fit whole is left out, however it comes: half of
// one is no text a log or a file can store.
TEST(TextBox, ACharacterOfTwoUnitsIsNeverCutInHalf) {
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
  const struct {
    const char* how;
    std::function<void(TextBox&, const QString&)> put;
  } ways[] = {
      {"set by code", [](TextBox& box, const QString& text) { box.SetText(text); }},
      {"typed as one key",
       [](TextBox& box, const QString& text) {
         box.SetText(text.left(4));
         box.SetSelStart(4);
         QTest::sendKeyEvent(QTest::Click, box.Widget(), Qt::Key_unknown, text.mid(4), Qt::NoModifier);
       }},
      {"committed by an input method",
       [](TextBox& box, const QString& text) {
         box.SetText(text.left(4));
         box.SetSelStart(4);
         QInputMethodEvent commit;
         commit.setCommitString(text.mid(4));
         QApplication::sendEvent(box.Widget(), &commit);
       }},
  };
  BoxForm form;
  ShowActive(form);
  for (const auto& way : ways) {
    for (TextBox* box : {&form.txtCall, &form.txtNotes}) {
      SCOPED_TRACE(std::string(way.how) + " into " + box->Name().toStdString());
      if (box == &form.txtNotes && std::string(way.how) == "committed by an input method") continue;
      box->SetMaxLength(0);
      box->SetText(QString());
      box->SetFocus();
      box->SetMaxLength(5);
      way.put(*box, "W1AW" + emoji);
      EXPECT_EQ(box->Text(), "W1AW");
      box->SetMaxLength(6);
      box->SetText(QString());
      way.put(*box, "W1AW" + emoji);
      EXPECT_EQ(box->Text(), "W1AW" + emoji) << "it fits whole";
    }
  }
}

// As the RST boxes when the mode turns from CW to phone with "599" typed.
TEST(TextBox, ALowerLimitKeepsTheTextAndRefusesTypingUntilItFits) {
  BoxForm form;
  ShowActive(form);
  for (TextBox* box : {&form.txtCall, &form.txtNotes}) {
    box->SetMaxLength(3);
    box->SetText("599");
    box->SetMaxLength(2);
    EXPECT_EQ(box->Text(), "599");
    box->SetFocus();
    box->SetSelStart(3);
    QTest::keyClicks(box->Widget(), "7");
    EXPECT_EQ(box->Text(), "599") << box->Name().toStdString();
    QTest::keyClick(box->Widget(), Qt::Key_Backspace);
    QTest::keyClick(box->Widget(), Qt::Key_Backspace);
    QTest::keyClicks(box->Widget(), "78");
    EXPECT_EQ(box->Text(), "57") << box->Name().toStdString();
  }
}

TEST(TextBox, ChangeFiresWhenCodeSetsADifferentText) {
  BoxForm form;
  form.txtCall.SetText("W1AB");
  form.txtCall.SetText("W1AB");
  form.txtCall.SetText("");
  form.txtNotes.SetText("line 1\r\nline 2");
  form.txtNotes.SetText("line 1\r\nline 2");
  const std::vector<QString> expected = {"W1AB", "", "line 1\r\nline 2"};
  EXPECT_EQ(form.changes, expected);
}

TEST(TextBox, ChangeFiresForEveryTypedCharacter) {
  BoxForm form;
  ShowActive(form);
  form.txtCall.SetFocus();
  QTest::keyClicks(form.txtCall.Widget(), "K1");
  EXPECT_EQ(form.changes, (std::vector<QString>{"K", "K1"}));
}

TEST(TextBox, SelectionPropertiesAndTheCaretAfterCodeSetsText) {
  BoxForm form;
  form.txtCall.SetText("FN20AB");
  EXPECT_EQ(form.txtCall.SelStart(), 0) << "text set by code leaves the caret at the start";
  form.txtCall.SetSelStart(2);
  form.txtCall.SetSelLength(2);
  EXPECT_EQ(form.txtCall.SelText(), "20");
  form.txtCall.SetSelText("31");
  EXPECT_EQ(form.txtCall.Text(), "FN31AB");
  form.txtCall.SetSelStart(0);
  form.txtCall.SetSelLength(100);
  EXPECT_EQ(form.txtCall.SelLength(), 6);
}

TEST(TextBox, TypingOverASelectionInTheMiddleGoesOnWhereItIs) {
  for (int maxLength : {0, 30}) {
    BoxForm form;
    form.txtCall.SetMaxLength(maxLength);
    ShowActive(form);
    form.txtCall.SetText("DX Frequency in kHz W1AW");
    form.txtCall.SetFocus();
    form.txtCall.SetSelStart(3);
    form.txtCall.SetSelLength(16);
    QTest::keyClicks(form.txtCall.Widget(), "1442");
    EXPECT_EQ(form.txtCall.Text(), "DX 1442 W1AW") << maxLength;
    EXPECT_EQ(form.txtCall.SelStart(), 7);
  }
}

// The network window's message log: entries added at the end, the oldest whole lines dropped.
TEST(TextBox, AppendingToALogKeepsItsNewestWholeLinesAndTheCaretAtTheEnd) {
  const struct {
    const char* what;
    std::vector<const char*> appended;
    qsizetype keepNewest;
    const char* shown;
  } cases[] = {
      {"everything kept", {"To: Tent2\r\n", "From: Shack\r\n", "QRT"}, 0, "To: Tent2\r\nFrom: Shack\r\nQRT"},
      {"fits exactly", {"ab\r\n", "cd\r\n"}, 8, "ab\r\ncd\r\n"},
      {"the oldest lines go whole", {"line 1\r\n", "line 2\r\n", "line 3\r\n"}, 10, "line 3\r\n"},
      {"a line is never cut", {"ab\r\ncd\r\n", "ef"}, 5, "ef"},
      {"the last line stays however long", {"ab\r\n", "a long last line"}, 4, "a long last line"},
      {"a lone LF is a line break too", {"ab\ncd\n", "e"}, 5, "cd\r\ne"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BoxForm form;
    ShowActive(form);
    for (const char* text : c.appended) form.txtNotes.AppendText(QString::fromLatin1(text), c.keepNewest);
    EXPECT_EQ(form.txtNotes.Text(), c.shown);
    EXPECT_EQ(form.txtNotes.TextLength(), form.txtNotes.Text().size());
    EXPECT_EQ(form.changes.size(), c.appended.size()) << "one change an append";
    EXPECT_EQ(form.changes.back(), c.shown);

    form.txtNotes.SetFocus();
    QTest::keyClick(form.txtNotes.Widget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form.txtNotes.Text(), c.shown) << "Undo brings nothing back";
    QTest::keyClicks(form.txtNotes.Widget(), "!");
    EXPECT_EQ(form.txtNotes.Text(), QString::fromLatin1(c.shown) + "!") << "the caret stood at the end";
  }
}

TEST(TextBox, LockedBoxTakesNoTypingButStillRaisesKeyEvents) {
  BoxForm form;
  int presses = 0;
  form.txtCall.KeyPress = [&](int&) { ++presses; };
  form.txtCall.SetLocked(true);
  ShowActive(form);
  form.txtCall.SetFocus();
  QTest::keyClicks(form.txtCall.Widget(), "ab");
  EXPECT_EQ(form.txtCall.Text(), "");
  EXPECT_EQ(presses, 2);
}

// ---- Pastes typed through the key handlers ----

// A window that upper-cases what it previews, and a call box that drops double quotes and moves
// on to the next box on a Space; the call box types its pastes, the next box inserts them.
class PasteForm : public Form {
 public:
  PasteForm() : Form("PasteForm") {
    SetKeyPreview(true);
    txtCall.Move(120, 120, 1500, 300);
    txtNext.Move(1800, 120, 1500, 300);
    txtCall.SetPasteAsTyping(true);
    txtCall.KeyPress = [this](int& KeyAscii) {
      boxSaw += QChar(KeyAscii);
      if (KeyAscii == '"') KeyAscii = 0;
      if (KeyAscii == ' ') {
        KeyAscii = 0;
        txtNext.SetFocus();
      }
    };
  }
  void Form_KeyPress(int& KeyAscii) override {
    if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii -= 'a' - 'A';
  }

  TextBox txtCall{this, "txtCall"};
  TextBox txtNext{this, "txtNext"};
  QString boxSaw;
};

// Opens the box's context menu and chooses Paste.
void PasteFromContextMenu(QWidget* box) {
  QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(box, &event);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QAction* paste = menu->findChild<QAction*>("edit-paste");
  ASSERT_NE(paste, nullptr);
  ASSERT_TRUE(paste->isEnabled());
  DoEvents();
  // A menu hides before its item acts, and the keyboard goes back to the window (done here for
  // the offscreen platform, which leaves the menu the active window).
  menu->hide();
  QApplication::setActiveWindow(box->window());
  ASSERT_TRUE(QTest::qWaitForWindowActive(box->window(), peertesting::kBoundMs));
  paste->trigger();
}

TEST(TextBox, APasteIsTypedKeyByKeyThroughThePreviewAndTheFocusedBoxKeyPress) {
  const struct {
    const char* way;
    std::function<void(QWidget*)> paste;
  } ways[] = {
      {"Ctrl+V", [](QWidget* box) { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); }},
      {"Shift+Insert", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier); }},
      {"context menu", &PasteFromContextMenu},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    PasteForm form;
    ShowActive(form);
    form.txtCall.SetFocus();
    Clipboard::SetText("w1\"ab 59\r\nsecond line");
    way.paste(form.txtCall.Widget());
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.txtNext.Text() == "59"; }, peertesting::kBoundMs))
        << form.txtNext.Text().toStdString();
    EXPECT_EQ(form.txtCall.Text(), "W1AB") << "the quote dropped, the letters upper-cased";
    EXPECT_TRUE(form.boxSaw.endsWith("W1\"AB ")) << "after the Space the rest went where the focus was";
    EXPECT_TRUE(form.txtNext.HasFocus());
  }
}

TEST(TextBox, APasteTypesAtMost255Characters) {
  PasteForm form;
  ShowActive(form);
  form.txtCall.SetFocus();
  Clipboard::SetText(QString(1000, 'X'));
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.txtCall.Text().size() == 255; }, peertesting::kBoundMs));
  DoEvents();
  EXPECT_EQ(form.txtCall.Text().size(), 255);
}

TEST(TextBox, ABoxThatDoesNotTypeItsPastesInsertsThemWholeAndALockedBoxTakesNone) {
  PasteForm form;
  ShowActive(form);
  Clipboard::SetText("w1\"ab");
  form.txtNext.SetFocus();
  QTest::keyClick(form.txtNext.Widget(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form.txtNext.Text(), "w1\"ab");

  form.txtCall.SetLocked(true);
  form.txtCall.SetFocus();
  QTest::keyClick(form.txtCall.Widget(), Qt::Key_V, Qt::ControlModifier);
  DoEvents();
  EXPECT_EQ(form.txtCall.Text(), "");
  EXPECT_EQ(form.boxSaw, QString(QChar(22))) << "only the Ctrl+V key itself";
}

// ---- Timer ----

class TimerForm : public Form {
 public:
  TimerForm() : Form("TimerForm") {
    Timer1.Tick = [this] { ++ticks; };
  }
  Timer Timer1{this, "Timer1"};
  int ticks = 0;
};

TEST(Timer, IntervalZeroNeverTicks) {
  TimerForm form;
  form.Timer1.SetEnabled(true);
  QTest::qWait(150);
  EXPECT_EQ(form.ticks, 0);
  form.Timer1.SetInterval(20);
  QTRY_VERIFY_WITH_TIMEOUT(form.ticks >= 2, peertesting::kBoundMs);
  form.Timer1.SetInterval(0);
  const int ticks = form.ticks;
  QTest::qWait(150);
  EXPECT_EQ(form.ticks, ticks);
}

TEST(Timer, EnablingAgainStartsTheCountAfresh) {
  // Measured from the re-enabling: a busy machine makes the tick late, but never early.
  TimerForm form;
  QElapsedTimer sinceReEnabled;
  qint64 firstTick = -1;
  form.Timer1.Tick = [&] {
    if (sinceReEnabled.isValid() && firstTick < 0) firstTick = sinceReEnabled.elapsed();
  };
  form.Timer1.SetInterval(600);
  QTest::qWait(300);
  sinceReEnabled.start();
  form.Timer1.SetEnabled(true);  // already on: the count starts again here
  QTRY_VERIFY_WITH_TIMEOUT(firstTick >= 0, peertesting::kBoundMs);
  EXPECT_GE(firstTick, 550) << "the first tick came one interval after the start, not after re-enabling";
}

TEST(Timer, UnloadingTheWindowStopsItsTimers) {
  TimerForm form;
  form.Timer1.SetInterval(20);
  form.Show();
  QTRY_VERIFY_WITH_TIMEOUT(form.ticks >= 1, peertesting::kBoundMs);
  form.Unload();
  const int ticks = form.ticks;
  QTest::qWait(150);
  EXPECT_EQ(form.ticks, ticks);
}

TEST(Timer, DisabledTimerDoesNotTick) {
  TimerForm form;
  form.Timer1.SetInterval(20);
  form.Timer1.SetEnabled(false);
  QTest::qWait(150);
  EXPECT_EQ(form.ticks, 0);
}

// ---- Option buttons and check boxes ----

class OptionForm : public Form {
 public:
  OptionForm() : Form("OptionForm") {
    Frame1.Move(0, 0, 2400, 1500);
    Frame2.Move(2500, 0, 2400, 1500);
    Option1.Move(120, 240, 1800, 300);
    Option2.Move(120, 600, 1800, 300);
    Option3.Move(120, 240, 1800, 300);
    Option4.Move(120, 600, 1800, 300);
    for (OptionButton* option : {&Option1, &Option2, &Option3, &Option4}) {
      option->Click = [this, option] { clicks.push_back(option->Name()); };
    }
  }
  Frame Frame1{this, "Frame1"};
  OptionButton Option1{&Frame1, "Option1"};
  OptionButton Option2{&Frame1, "Option2"};
  Frame Frame2{this, "Frame2"};
  OptionButton Option3{&Frame2, "Option3"};
  OptionButton Option4{&Frame2, "Option4"};
  std::vector<QString> clicks;
};

TEST(OptionButton, OneChoicePerContainer) {
  OptionForm form;
  ShowActive(form);
  QTest::mouseClick(form.Option1.Widget(), Qt::LeftButton);
  QTest::mouseClick(form.Option3.Widget(), Qt::LeftButton);
  EXPECT_TRUE(form.Option1.Value());
  EXPECT_TRUE(form.Option3.Value());
  QTest::mouseClick(form.Option2.Widget(), Qt::LeftButton);
  EXPECT_FALSE(form.Option1.Value());
  EXPECT_TRUE(form.Option2.Value());
  EXPECT_TRUE(form.Option3.Value()) << "the other frame keeps its choice";
  form.Option4.SetValue(true);
  EXPECT_FALSE(form.Option3.Value());
  EXPECT_EQ(form.clicks, (std::vector<QString>{"Option1", "Option3", "Option2", "Option4"}));
  form.Option4.SetValue(false);
  EXPECT_FALSE(form.Option3.Value() || form.Option4.Value()) << "code may leave none selected";
}

class CheckForm : public Form {
 public:
  CheckForm() : Form("CheckForm") {
    chkFrequency.Move(120, 120, 2000, 300);
    chkFrequency.Click = [this] { values.push_back(chkFrequency.Value()); };
  }
  CheckBox chkFrequency{this, "chkFrequency"};
  std::vector<int> values;
};

TEST(CheckBox, ValueChangesRaiseClickByCodeAndByMouse) {
  CheckForm form;
  ShowActive(form);
  form.chkFrequency.SetValue(1);
  form.chkFrequency.SetValue(1);
  form.chkFrequency.SetValue(2);
  QTest::mouseClick(form.chkFrequency.Widget(), Qt::LeftButton);
  QTest::mouseClick(form.chkFrequency.Widget(), Qt::LeftButton);
  EXPECT_EQ(form.values, (std::vector<int>{1, 2, 1, 0}));
  EXPECT_THROW(form.chkFrequency.SetValue(3), RuntimeError);
}

// ---- List and combo boxes ----

class ListForm : public Form {
 public:
  ListForm() : Form("ListForm") {
    List1.Move(120, 120, 2000, 2000);
    List1.Click = [this] { clicks.push_back(List1.ListIndex()); };
    Combo1.Move(2400, 120, 2000, 300);
    Combo1.Change = [this] { ++comboChanges; };
    Combo1.Click = [this] { ++comboClicks; };
  }
  ListBox List1{this, "List1"};
  ComboBox Combo1{this, "Combo1"};
  std::vector<int> clicks;
  int comboChanges = 0;
  int comboClicks = 0;
};

TEST(ListBox, SortedInsertIgnoresCaseAndItemDataFollowsTheItem) {
  ListForm form;
  form.List1.SetSorted(true);
  for (const char* grid : {"fn20", "EM10", "Fn31", "dm79"}) {
    form.List1.AddItem(grid);
    form.List1.SetItemData(form.List1.NewIndex(), form.List1.ListCount());
  }
  std::vector<QString> items;
  for (int i = 0; i < form.List1.ListCount(); ++i) items.push_back(form.List1.List(i));
  EXPECT_EQ(items, (std::vector<QString>{"dm79", "EM10", "fn20", "Fn31"}));
  EXPECT_EQ(form.List1.ItemData(2), 1);
  EXPECT_EQ(form.List1.List(4), "") << "past the end reads empty";
  EXPECT_THROW(form.List1.RemoveItem(4), RuntimeError);
}

TEST(ListBox, ClickFollowsTheSelectionByCodeAndMouse) {
  ListForm form;
  for (const char* band : {"50 M", "144 M", "222 M"}) form.List1.AddItem(band);
  ShowActive(form);
  form.List1.SetListIndex(1);
  form.List1.SetListIndex(-1);
  auto* list = static_cast<QAbstractItemView*>(form.List1.Widget());
  const QRect third = list->visualRect(list->model()->index(2, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
  QTest::mouseClick(list->viewport(), Qt::RightButton, {}, third.center());
  EXPECT_EQ(form.clicks, (std::vector<int>{1, 2, 2})) << "the selected item clicked again is chosen again";
  EXPECT_EQ(form.List1.Text(), "222 M");
  form.List1.Clear();
  EXPECT_EQ(form.List1.ListIndex(), -1);
  EXPECT_THROW(form.List1.SetListIndex(0), RuntimeError);
}

// The style's own drawing of a list's items, in the places the list gives them.
class StyleDrawnItems : public QStyledItemDelegate {
 public:
  explicit StyleDrawnItems(QAbstractItemDelegate* placing) : QStyledItemDelegate(placing), placing_(placing) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return placing_->sizeHint(option, index);
  }

 private:
  QAbstractItemDelegate* placing_;
};

TEST(ListBox, ItemsAreDrawnAsTheStyleDrawsThem) {
  ListForm form;
  for (const char* grid : {"FN20", "FN31 FN20", "EM10", "", "A GRID FAR TOO LONG FOR THE LIST", "DM79"}) {
    form.List1.AddItem(grid);
  }
  form.List1.SetListIndex(2);
  ShowActive(form);
  auto* list = static_cast<QAbstractItemView*>(form.List1.Widget());
  const QImage ours = list->viewport()->grab().toImage();
  list->setItemDelegate(new StyleDrawnItems(list->itemDelegate()));
  EXPECT_EQ(ours, list->viewport()->grab().toImage());
}

// A band's list of worked grids, a little narrower than the main window's: a grid fits beside no
// scroll bar, but a list of more grids than its height needs both.
class BandListForm : public Form {
 public:
  BandListForm() : Form("BandListForm") {
    Move(0, 0, 3000, 4000);
    List1.Move(120, 120, 600, 2685);
  }
  ListBox List1{this, "List1"};
};

QString Grid(int n) { return QStringLiteral("FN%1").arg(10 + n); }

TEST(ListBox, ItemsAddedAtTheEndAreDrawnAloneAndTheListShowsAsDrawnWhole) {
  constexpr int kAsManyAsFit = -1;
  constexpr int kAtTheEnd = -1;
  const struct {
    const char* what;
    int items;
    int scrolledTo;
    bool focusedOnASelection;
    QStringList added;
    bool drawnWhole;
    bool barDrawn;  // when not drawn whole: the vertical scroll bar, whose slider moved
    bool drawnBeforeLaidOut = false;
  } cases[] = {
      {"the end of a short list", 5, 0, false, {"FN90"}, false, false},
      {"two at once", 5, 0, false, {"FN90", "FN91"}, false, false},
      {"with the focus on a selected item", 5, 0, true, {"FN90"}, false, false},
      {"the rows drawn again before the item's layout", 5, 0, false, {"FN90"}, true, false, true},
      {"beyond the rows on screen", 40, 0, false, {"FN90"}, false, true},
      {"beyond the rows of a list scrolled to its end", 40, kAtTheEnd, false, {"FN90"}, false, true},
      {"narrower than the items above", 40, 0, false, {"II11"}, false, true},
      {"beyond the rows of a long list, its slider at its least", 300, 0, false, {"FN90"}, false, false},
      {"wider than the items above", 40, 0, false, {"MM99 WW"}, true, true},
      {"the first that does not fit", kAsManyAsFit, 0, false, {"FN90"}, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    BandListForm form;
    auto* list = static_cast<QListWidget*>(form.List1.Widget());
    form.List1.AddItem(Grid(0));
    ShowActive(form);
    Settle();
    const int rowHeight = list->visualItemRect(list->item(0)).height();
    const int items = c.items == kAsManyAsFit ? list->viewport()->height() / rowHeight : c.items;
    for (int n = 1; n < items; ++n) form.List1.AddItem(Grid(n));
    if (c.focusedOnASelection) {
      form.List1.SetListIndex(2);
    } else {
      list->clearFocus();
    }
    Settle();
    QScrollBar* vertical = list->verticalScrollBar();
    vertical->setValue(c.scrolledTo == kAtTheEnd ? vertical->maximum() : c.scrolledTo);
    Settle();
    const DrawnParts rows(list->viewport());
    const DrawnParts horizontalBar(list->horizontalScrollBar());
    const DrawnParts verticalBar(vertical);

    for (const QString& grid : c.added) form.List1.AddItem(grid);
    if (c.drawnBeforeLaidOut) list->viewport()->repaint();
    Settle();

    EXPECT_EQ(ItemsOf(form.List1).mid(items), c.added);
    if (c.drawnWhole) {
      EXPECT_EQ(rows.drawn, QRegion(list->viewport()->rect()));
    } else {
      EXPECT_EQ(rows.drawn, ItemPlacesFrom(*list, items)) << "the new items' places on screen, and nothing else";
      EXPECT_TRUE(horizontalBar.drawn.isEmpty());
      EXPECT_EQ(!verticalBar.drawn.isEmpty(), c.barDrawn);
    }
    EXPECT_EQ(OnScreen(*list), DrawnAfresh(*list));
  }
}

// A list of uniform item sizes would size every item as its last: a shorter grid added last
// would cut the longer ones above it to an ellipsis.
TEST(ListBox, EveryItemShowsItsWholeTextWhicheverItemIsLast) {
  BandListForm whole;
  BandListForm shorterLast;
  for (BandListForm* form : {&whole, &shorterLast}) {
    for (int n = 0; n < 30; ++n) form->List1.AddItem(QStringLiteral("MM99"));
  }
  shorterLast.List1.AddItem(QStringLiteral("II11"));
  auto* wholeList = static_cast<QListWidget*>(whole.List1.Widget());
  auto* list = static_cast<QListWidget*>(shorterLast.List1.Widget());
  for (QListWidget* each : {wholeList, list}) each->setFocusPolicy(Qt::NoFocus);  // no focus frame in either
  for (BandListForm* form : {&whole, &shorterLast}) form->Show();
  Settle();
  const QRect firstItem = list->visualItemRect(list->item(0));
  EXPECT_EQ(firstItem, wholeList->visualItemRect(wholeList->item(0)));
  EXPECT_EQ(DrawnAfresh(*list->viewport()).copy(firstItem), DrawnAfresh(*wholeList->viewport()).copy(firstItem));
}

TEST(ComboBox, ChangeIsForEditingAndClickForChoosing) {
  ListForm form;
  form.Combo1.AddItem("COM1");
  form.Combo1.AddItem("COM2");
  EXPECT_EQ(form.Combo1.ListIndex(), -1) << "adding items selects none";
  EXPECT_EQ(form.Combo1.Text(), "");
  form.Combo1.SetText("/dev/ttyUSB0");
  form.Combo1.SetListIndex(1);
  EXPECT_EQ(form.Combo1.Text(), "COM2");
  EXPECT_EQ(form.comboChanges, 1);
  EXPECT_EQ(form.comboClicks, 1);
  ShowActive(form);
  form.Combo1.SetFocus();
  QTest::keyClicks(form.Combo1.Widget()->focusProxy(), "X");
  EXPECT_EQ(form.comboChanges, 2);
}

// ---- Labels, images, up-downs, menus ----

class MiscForm : public Form {
 public:
  MiscForm() : Form("MiscForm") {
    Move(0, 0, 6000, 5000);
    lblDialog.Move(120, 120, 3000, 300);
    lblDialog.MouseDown = [this](int Button, int Shift, float X, float Y) {
      mouse.push_back({Button, Shift, X, Y});
    };
    Image1.Move(120, 600, 1500, 1500);
    Image1.SetBackColor(RGB(255, 255, 255));
    UpDown1.Move(3600, 120, 255, 375);
    UpDown1.SetMin(5);
    UpDown1.SetMax(7);
    UpDown1.SetValue(6);
    UpDown1.Change = [this] { log.push_back("change " + std::to_string(UpDown1.Value())); };
    UpDown1.UpClick = [this] { log.push_back("up"); };
    UpDown1.DownClick = [this] { log.push_back("down"); };
    mnuFile.SetCaption("&File");
    mnuRstRecord.SetCaption("&Record");
    mnuRstRecord.Click = [this] { log.push_back("record"); };
    mnuSep.SetCaption("-");
  }
  struct MouseDownSeen {
    int button, shift;
    float x, y;
  };
  Label lblDialog{this, "lblDialog"};
  Image Image1{this, "Image1"};
  UpDown UpDown1{this, "UpDown1"};
  Menu mnuFile{this, "mnuFile"};
  Menu mnuRstRecord{&mnuFile, "mnuRstRecord"};
  Menu mnuSep{&mnuFile, "mnuSep"};
  std::vector<MouseDownSeen> mouse;
  std::vector<std::string> log;
};

TEST(UpDown, StaysAgainstItsBuddyWhereverTheBuddyIsMovedOrSized) {
  MiscForm form;
  TextBox speed(&form, "Text11");
  speed.Move(1200, 2400, 600, 285);
  ShowActive(form);  // a hidden widget hears of its moves only once shown
  form.UpDown1.SetBuddy(speed);
  EXPECT_EQ(form.UpDown1.Left(), 1800);
  EXPECT_EQ(form.UpDown1.Top(), 2400);
  EXPECT_EQ(form.UpDown1.Height(), 285);
  speed.Move(1800, 3000, 900, 450);  // as screen fitting scales the box
  EXPECT_EQ(form.UpDown1.Left(), 2700);
  EXPECT_EQ(form.UpDown1.Top(), 3000);
  EXPECT_EQ(form.UpDown1.Height(), 450);
  EXPECT_EQ(form.UpDown1.Width(), 255) << "the arrows keep their width";
}

TEST(Label, AccessKeyMarksAreNotShownAndMouseEventsCarryButtonAndTwips) {
  MiscForm form;
  form.lblDialog.SetCaption("Rock && Roll &Now");
  EXPECT_EQ(form.lblDialog.Caption(), "Rock && Roll &Now");
  EXPECT_EQ(static_cast<QLabel*>(form.lblDialog.Widget())->text(), "Rock & Roll Now");
  ShowActive(form);
  QTest::mouseClick(form.lblDialog.Widget(), Qt::RightButton, Qt::ShiftModifier, QPoint(10, 4));
  ASSERT_EQ(form.mouse.size(), 1u);
  EXPECT_EQ(form.mouse[0].button, RightButton);
  EXPECT_EQ(form.mouse[0].shift, ShiftMask);
  EXPECT_EQ(form.mouse[0].x, 150.0f);
  EXPECT_EQ(form.mouse[0].y, 60.0f);
}

TEST(Label, AutoSizeFitsTheCaption) {
  MiscForm form;
  form.lblDialog.SetAutoSize(true);
  form.lblDialog.SetCaption("A much longer caption than before");
  const double wide = form.lblDialog.Width();
  form.lblDialog.SetCaption("A");
  EXPECT_LT(form.lblDialog.Width(), wide);
}

TEST(Image, DrawingsSurviveRepaintsUntilCls) {
  MiscForm form;
  ShowActive(form);
  form.Image1.Box(150, 150, 600, 600, RGB(255, 0, 0), true);
  form.Image1.Line(0, 900, 1500, 900, RGB(0, 0, 255));
  auto pixel = [&](int x, int y) { return FromQColor(form.Image1.Widget()->grab().toImage().pixelColor(x, y)); };
  EXPECT_EQ(pixel(20, 20), RGB(255, 0, 0));
  EXPECT_EQ(pixel(50, 60), RGB(0, 0, 255));
  form.Image1.Refresh();
  EXPECT_EQ(pixel(20, 20), RGB(255, 0, 0));
  form.Image1.Cls();
  EXPECT_EQ(pixel(20, 20), RGB(255, 255, 255));
}

TEST(Image, PicturePathsAreProgramPaths) {
  QTemporaryDir dir;
  QImage picture(4, 3, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(dir.filePath("splash.png")));
  MiscForm form;
  form.Image1.SetPicture(QString(dir.path()).replace('/', '\\') + "\\SPLASH.png");  // as the program writes it
  EXPECT_EQ(form.Image1.Picture().size(), QSize(4, 3));
}

TEST(Image, MissingPictureFileIsAnError) {
  MiscForm form;
  try {
    form.Image1.SetPicture(QStringLiteral("/nonexistent/splash.jpg"));
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 53);
  }
}

class ButtonForm : public Form {
 public:
  ButtonForm() : Form("ButtonForm") {
    Move(0, 0, 6000, 5000);
    cmdArrow.Move(120, 120, 1500, 600);  // 100 x 40 pixels
  }
  CommandButton cmdArrow{this, "cmdArrow"};
};

QImage Square(int side) {
  QImage square(side, side, QImage::Format_RGB32);
  square.fill(Qt::red);
  return square;
}

// The red pixels of one row of the button, as the operator sees it now: first and last column.
std::pair<int, int> RedSpan(const CommandButton& button, int y) {
  const QImage shown = button.Widget()->grab().toImage();
  int first = -1, last = -1;
  for (int x = 0; x < shown.width(); ++x) {
    if (FromQColor(shown.pixelColor(x, y)) != RGB(255, 0, 0)) continue;
    if (first < 0) first = x;
    last = x;
  }
  return {first, last};
}

TEST(CommandButton, PictureFillsTheFaceCentredWithItsShapeKeptThroughAnyResize) {
  for (int side : {10, 200}) {
    SCOPED_TRACE(side);
    ButtonForm form;
    form.cmdArrow.SetPicture(Square(side));
    ShowActive(form);
    auto [first, last] = RedSpan(form.cmdArrow, 20);
    EXPECT_NEAR((first + last) / 2.0, 49.5, 1) << "centred";
    EXPECT_GT(last - first, 25) << "as high as the face";
    EXPECT_LT(last - first, 40) << "square, not as wide as the face";
    EXPECT_EQ(RedSpan(form.cmdArrow, 0).first, -1) << "nothing over the button's edge";

    form.cmdArrow.Move(300, 300, 3000, 900);  // 200 x 60, as scaling to a larger screen leaves it
    std::tie(first, last) = RedSpan(form.cmdArrow, 30);
    EXPECT_NEAR((first + last) / 2.0, 99.5, 1);
    EXPECT_GT(last - first, 45);
    EXPECT_LT(last - first, 60);
    EXPECT_EQ(form.cmdArrow.Picture().size(), QSize(side, side)) << "the picture itself is kept as given";
  }
}

TEST(CommandButton, ANullPictureClearsThePicture) {
  ButtonForm form;
  form.cmdArrow.SetPicture(Square(10));
  form.cmdArrow.SetPicture(QImage());
  ShowActive(form);
  EXPECT_EQ(RedSpan(form.cmdArrow, 20).first, -1);
  EXPECT_TRUE(form.cmdArrow.Picture().isNull());
}

TEST(UpDown, ArrowsStepWithinTheLimits) {
  MiscForm form;
  ShowActive(form);
  QTest::mouseClick(form.UpDown1.UpArrow(), Qt::LeftButton);
  QTest::mouseClick(form.UpDown1.UpArrow(), Qt::LeftButton);
  QTest::mouseClick(form.UpDown1.DownArrow(), Qt::LeftButton);
  EXPECT_EQ(form.log, (std::vector<std::string>{"change 7", "up", "up", "change 6", "down"}));
}

TEST(Menu, ClickLeavesTheCheckMarkToTheWindow) {
  MiscForm form;
  form.mnuRstRecord.SetChecked(true);
  form.mnuRstRecord.Action()->trigger();
  EXPECT_TRUE(form.mnuRstRecord.Checked());
  EXPECT_TRUE(form.mnuRstRecord.Action()->isChecked());
  form.mnuRstRecord.SetChecked(false);
  form.mnuRstRecord.Action()->trigger();
  EXPECT_FALSE(form.mnuRstRecord.Action()->isChecked());
  EXPECT_EQ(form.log, (std::vector<std::string>{"record", "record"}));
  EXPECT_TRUE(form.mnuSep.Action()->isSeparator());
  EXPECT_EQ(form.mnuFile.SubMenu()->actions().size(), 2);
}

// The "-" item draws as the style's own separator line, and keeps its place and caption.
TEST(Menu, AMinusCaptionDrawsASeparatorLine) {
  MiscForm form;
  Menu mnuExit(&form.mnuFile, "mnuExit");
  mnuExit.SetCaption("E&xit");
  QMenu plain;
  plain.addAction("&Record");
  plain.addSeparator();
  plain.addAction("E&xit");
  QMenu* drawn = form.mnuFile.SubMenu();
  ASSERT_EQ(drawn->actions().size(), 3);
  EXPECT_EQ(drawn->actions().at(1), form.mnuSep.Action());
  EXPECT_EQ(form.mnuSep.Caption(), "-");
  EXPECT_EQ(drawn->sizeHint(), plain.sizeHint());
  EXPECT_TRUE(drawn->grab().toImage() == plain.grab().toImage()) << "drawn as a plain separator";
}

class RecentForm : public Form {
 public:
  RecentForm() : Form("RecentForm") {
    mnuFile.SetCaption("&File");
    mnuRecent.Add(0).SetCaption("log1.mdb");
    mnuExit.SetCaption("E&xit");
    mnuRecent.Click = [this](int Index) { chosen.push_back(Index); };
  }
  Menu mnuFile{this, "mnuFile"};
  ControlArray<Menu> mnuRecent{&mnuFile, "mnuRecent"};
  Menu mnuExit{&mnuFile, "mnuExit"};
  std::vector<int> chosen;
};

TEST(Menu, ItemsLoadedIntoAMenuArrayFollowItsLastItem) {
  RecentForm form;
  form.mnuRecent.Load(1).SetCaption("log2.mdb");
  QStringList captions;
  for (QAction* action : form.mnuFile.SubMenu()->actions()) captions << action->text();
  EXPECT_EQ(captions, (QStringList{"log1.mdb", "log2.mdb", "E&xit"}));
  form.mnuRecent(1).Action()->trigger();
  EXPECT_EQ(form.chosen, (std::vector<int>{1}));
}

// ---- Names a screen reader says ----

class NamedForm : public Form {
 public:
  NamedForm() : Form("NamedForm") {
    lblCallHeader.SetCaption("&Call:");
    txtCall.NameAfter(lblCallHeader);
    lblScoreHeader.SetCaption("Total Score..........");
    lblScore.SetCaption("12");
    lblScore.NameAfter(lblScoreHeader);
    lblDupHeader.SetCaption("Partial");
    cmdDup.SetCaption("On");
    cmdDup.NameAfter(lblDupHeader);
    Command7.SetAccessibleName("North");
    Command7.SetAccessibleDescription("Grid map north");
    lblNote.SetCaption("Fish && Chips");
  }
  Label lblCallHeader{this, "lblCallHeader"};
  TextBox txtCall{this, "txtCall"};
  Label lblScoreHeader{this, "lblScoreHeader"};
  Label lblScore{this, "lblScore"};
  Label lblDupHeader{this, "lblDupHeader"};
  CommandButton cmdDup{this, "cmdDup"};
  CommandButton Command7{this, "Command7"};
  Label lblNote{this, "lblNote"};
  UpDown UpDown1{this, "UpDown1"};
};

QAccessibleInterface* Accessible(const QWidget* widget) {
  return QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget));
}
QString AccessibleText(const QWidget* widget, QAccessible::Text text) { return Accessible(widget)->text(text); }
QString NameOf(const Control& control) { return AccessibleText(control.Widget(), QAccessible::Name); }

// The caption as the operator reads it names the control, and the name follows the caption; a
// value label still gives what it shows, a button its own caption after the label's.
TEST(AccessibleNames, ACaptionLabelNamesItsControlAndTheNameFollowsTheCaption) {
  NamedForm form;
  EXPECT_EQ(NameOf(form.txtCall), "Call");
  EXPECT_EQ(NameOf(form.lblScore), "Total Score");
  EXPECT_EQ(AccessibleText(form.lblScore.Widget(), QAccessible::Value), "12");
  EXPECT_EQ(NameOf(form.cmdDup), "Partial On");
  EXPECT_EQ(NameOf(form.lblCallHeader), "Call:") << "a caption label reads as it is shown";
  EXPECT_EQ(NameOf(form.lblNote), "Fish & Chips");

  form.lblCallHeader.SetCaption("Grid");
  form.lblScore.SetCaption("1024");
  form.cmdDup.SetCaption("Off");
  EXPECT_EQ(NameOf(form.txtCall), "Grid");
  EXPECT_EQ(NameOf(form.lblScore), "Total Score");
  EXPECT_EQ(AccessibleText(form.lblScore.Widget(), QAccessible::Value), "1024");
  QAccessibleTextInterface* shown = Accessible(form.lblScore.Widget())->textInterface();
  ASSERT_NE(shown, nullptr) << "the value is read as the label's text";
  EXPECT_EQ(shown->characterCount(), 4);
  EXPECT_EQ(shown->text(0, 4), "1024");
  EXPECT_EQ(shown->text(2, 99), "24");
  EXPECT_EQ(NameOf(form.cmdDup), "Partial Off");
}

TEST(AccessibleNames, ControlsWithoutACaptionAreNamedAndDescribedByTheWindow) {
  NamedForm form;
  EXPECT_EQ(NameOf(form.Command7), "North");
  EXPECT_EQ(AccessibleText(form.Command7.Widget(), QAccessible::Description), "Grid map north");
  EXPECT_EQ(AccessibleText(form.UpDown1.UpArrow(), QAccessible::Name), "Up");
  EXPECT_EQ(AccessibleText(form.UpDown1.DownArrow(), QAccessible::Name), "Down");
  form.txtCall.SetAccessibleName("Call sign");
  form.lblCallHeader.SetCaption("Call");
  EXPECT_EQ(NameOf(form.txtCall), "Call sign") << "a name given replaces the caption's";
}

// ---- Control arrays ----

class GridForm : public Form {
 public:
  GridForm() : Form("GridForm") {
    for (int i : {0, 1, 164}) {
      Label& label = lblGrid.Add(i);
      label.Move(120 + 600 * (i % 10), 120, 555, 300);
    }
    lblGrid(0).SetCaption("FN20");
    lblGrid(0).SetBackColor(RGB(0, 192, 192));
    lblGrid(0).SetFontBold(true);
    lblGrid.Click = [this](int Index) { clicked.push_back(Index); };
  }
  ControlArray<Label> lblGrid{this, "lblGrid"};
  std::vector<int> clicked;
};

TEST(ControlArray, SparseIndexesBoundsAndEventsCarryTheIndex) {
  GridForm form;
  EXPECT_EQ(form.lblGrid.Count(), 3);
  EXPECT_EQ(form.lblGrid.LBound(), 0);
  EXPECT_EQ(form.lblGrid.UBound(), 164);
  EXPECT_EQ(form.lblGrid(164).Index(), 164);
  EXPECT_THROW(form.lblGrid(2), RuntimeError);
  ShowActive(form);
  QTest::mouseClick(form.lblGrid(164).Widget(), Qt::LeftButton);
  QTest::mouseClick(form.lblGrid(0).Widget(), Qt::LeftButton);
  EXPECT_EQ(form.clicked, (std::vector<int>{164, 0}));
}

TEST(ControlArray, LoadCopiesTheDesignOfTheLowestElementAndStartsHidden) {
  GridForm form;
  Label& loaded = form.lblGrid.Load(7);
  EXPECT_EQ(loaded.Caption(), "FN20");
  EXPECT_EQ(loaded.BackColor(), RGB(0, 192, 192));
  EXPECT_TRUE(loaded.FontBold());
  EXPECT_EQ(loaded.Width(), 555);
  EXPECT_FALSE(loaded.Visible());
  EXPECT_EQ(form.Controls().size(), 4u);
  form.lblGrid.Unload(7);
  EXPECT_EQ(form.Controls().size(), 3u);
  EXPECT_FALSE(form.lblGrid.Exists(7));
  EXPECT_THROW(form.lblGrid.Unload(1), RuntimeError) << "design elements stay";
  EXPECT_THROW(form.lblGrid.Load(0), RuntimeError) << "already loaded";
}

class SelfUnloadForm : public Form {
 public:
  SelfUnloadForm() : Form("SelfUnloadForm") {
    lblSpot.Add(0).Move(120, 120, 1500, 300);
    tmrPoll.Add(0);
    lblSpot.Click = [this](int Index) {
      lblSpot.Unload(Index);
      log.push_back("label " + std::to_string(Index));
    };
    tmrPoll.Tick = [this](int Index) {
      tmrPoll.Unload(Index);
      log.push_back("timer " + std::to_string(Index));
    };
  }
  ControlArray<Label> lblSpot{this, "lblSpot"};
  ControlArray<Timer> tmrPoll{this, "tmrPoll"};
  std::vector<std::string> log;
};

TEST(ControlArray, AnElementUnloadedFromItsOwnEventGoesOnceTheEventIsOver) {
  SelfUnloadForm form;
  ShowActive(form);
  Label& spot = form.lblSpot.Load(1);
  spot.SetVisible(true);
  const QPointer<QWidget> spotWidget = spot.Widget();
  QTest::mouseClick(spotWidget, Qt::LeftButton);
  EXPECT_FALSE(form.lblSpot.Exists(1));
  QTRY_VERIFY_WITH_TIMEOUT(spotWidget.isNull(), peertesting::kBoundMs);

  form.tmrPoll.Load(1).SetInterval(10);
  QTRY_VERIFY_WITH_TIMEOUT(!form.tmrPoll.Exists(1), peertesting::kBoundMs);
  QTest::qWait(50);
  EXPECT_EQ(form.log, (std::vector<std::string>{"label 1", "timer 1"}));
  EXPECT_EQ(form.Controls().size(), 2u);
}

}  // namespace
