#include "platform/dialogs.h"

#include "platform/errors.h"
#include "platform/forms.h"
#include "platform/twips.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "formtesting.h"
#include "testbound.h"

using namespace platform;

TEST(MsgBox, ScriptedAnswersAndRecordsWhatWasShown) {
  ScriptedDialogs dialogs;
  dialogs.AnswerMessageBox(MsgBoxResult::Yes);

  EXPECT_EQ(MsgBox("Open existing log?", MsgBoxStyle::YesNo | MsgBoxStyle::Question, "Log"), MsgBoxResult::Yes);
  // Nothing scripted: the default button answers, honouring the default-button flag.
  EXPECT_EQ(MsgBox("Save?", MsgBoxStyle::YesNoCancel | MsgBoxStyle::DefaultButton2), MsgBoxResult::No);
  EXPECT_EQ(MsgBox("Done."), MsgBoxResult::OK);

  ASSERT_EQ(dialogs.MessageBoxes().size(), 3u);
  const MessageBoxShown& first = dialogs.MessageBoxes()[0];
  EXPECT_EQ(first.prompt, "Open existing log?");
  EXPECT_EQ(first.style, MsgBoxStyle::YesNo | MsgBoxStyle::Question);
  EXPECT_EQ(first.title, "Log");
  EXPECT_EQ(first.answer, MsgBoxResult::Yes);
  EXPECT_EQ(dialogs.MessageBoxes()[1].title, "Corvane");
}

TEST(MsgBox, RealBoxesAnswerWithTheButtonPressed) {
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Corvane");
    EXPECT_EQ(box->text(), "Line 1\nLine 2");
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(MsgBox("Line 1\r\nLine 2", MsgBoxStyle::YesNo | MsgBoxStyle::DefaultButton2), MsgBoxResult::No);

  QTimer::singleShot(0, [] {
    auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->windowTitle(), "Station");
    EXPECT_EQ(input->textValue(), "N0CALL");
    input->setTextValue("W1AW");
    input->accept();
  });
  EXPECT_EQ(InputBox("Your call?", "Station", "N0CALL"), "W1AW");
}

// A box lies within a 1024 x 768 screen (and within its own), buttons included, however long its
// prompt: the prompt wraps.
TEST(Dialogs, BoxesWithLongPromptsFitTheScreenWithTheirButtons) {
  const QString prompt = QString("How often do you want the program to check the log to update the contact list and "
                                 "score statistics?  This does not effect dupe checking.  Dupe checking is always "
                                 "done in real time.  Use 60000 for slower PC's (less than 300 MHz)\r\n\r\n")
                             .repeated(2);
  const QRect screen(0, 0, 1024, 768);
  Form owner("Owner");  // the main window the box belongs to, filling the screen
  owner.Move(0, 0, screen.width() * TwipsPerPixel, screen.height() * TwipsPerPixel);
  ShowActive(owner);

  const auto checkShownBox = [&](auto accept) {
    QTimer::singleShot(0, [&, accept] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      EXPECT_TRUE(QTest::qWaitForWindowExposed(box, peertesting::kBoundMs));
      const QRect onScreen = screen & box->screen()->availableGeometry();
      EXPECT_TRUE(onScreen.contains(box->frameGeometry())) << box->frameGeometry().width() << " px wide";
      const auto buttons = box->findChildren<QPushButton*>();
      EXPECT_FALSE(buttons.isEmpty());
      for (const QPushButton* button : buttons) {
        EXPECT_TRUE(onScreen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())))
            << button->text().toStdString();
      }
      const auto* label = box->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
      ASSERT_NE(label, nullptr);
      EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "the whole prompt shows";
      accept(box);
    });
  };
  checkShownBox([](QWidget* box) { static_cast<QDialog*>(box)->accept(); });
  EXPECT_EQ(InputBox(prompt, "Refresh Rate Settings", "60000"), "60000");
  checkShownBox([](QWidget* box) { static_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click(); });
  EXPECT_EQ(MsgBox(prompt, MsgBoxStyle::YesNoCancel), MsgBoxResult::Cancel);
}

TEST(InputBox, CancelGivesEmptyTextAndEnterGivesTheDefault) {
  ScriptedDialogs dialogs;
  dialogs.CancelInputBox();
  dialogs.AnswerInputBox("W1AW");

  EXPECT_EQ(InputBox("Your call?", "Call", "N0CALL"), "");
  EXPECT_EQ(InputBox("Your call?", "Call", "N0CALL"), "W1AW");
  EXPECT_EQ(InputBox("Your call?", {}, "N0CALL"), "N0CALL");

  ASSERT_EQ(dialogs.InputBoxes().size(), 3u);
  EXPECT_EQ(dialogs.InputBoxes()[0].prompt, "Your call?");
  EXPECT_EQ(dialogs.InputBoxes()[0].defaultText, "N0CALL");
  EXPECT_EQ(dialogs.InputBoxes()[2].title, "Corvane");
}

TEST(CommonDialog, CancelThrowsOnlyWhenAskedTo) {
  ScriptedDialogs dialogs;
  dialogs.CancelFileDialog();
  dialogs.CancelFileDialog();

  CommonDialog dialog;
  dialog.CancelError = true;
  dialog.FileName = "c:\\Data\\W1AW2024-06-15.mdb";
  try {
    dialog.ShowSave();
    FAIL() << "a cancelled dialog with CancelError set must throw";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 32755);
    EXPECT_EQ(e.Description(), "Cancel was selected.");
  }

  dialog.CancelError = false;
  dialog.FileName = "old.wav";
  EXPECT_NO_THROW(dialog.ShowOpen());
  EXPECT_EQ(dialog.FileName, "");
}

TEST(CommonDialog, ChosenFileIsTakenAndTheRequestRecorded) {
  ScriptedDialogs dialogs;
  dialogs.ChooseFile("/home/op/Corvane.adi");

  CommonDialog dialog;
  dialog.CancelError = true;
  dialog.Filter = "ADIF Files (*.adi) | *.adi";
  dialog.FilterIndex = 1;
  dialog.Flags = CommonDialogFlags::OverwritePrompt;
  dialog.FileName = "c:\\Docs\\Corvane.adi";
  dialog.ShowSave();
  EXPECT_EQ(dialog.FileName, "/home/op/Corvane.adi");

  // Unscripted file dialogs are cancelled.
  dialog.CancelError = false;
  dialog.ShowOpen();
  EXPECT_EQ(dialog.FileName, "");

  ASSERT_EQ(dialogs.CommonDialogs().size(), 2u);
  const CommonDialogShown& save = dialogs.CommonDialogs()[0];
  EXPECT_EQ(save.kind, CommonDialogKind::Save);
  EXPECT_EQ(save.filter, "ADIF Files (*.adi) | *.adi");
  EXPECT_EQ(save.fileName, "c:\\Docs\\Corvane.adi");
  EXPECT_EQ(save.flags, 2);
  EXPECT_EQ(dialogs.CommonDialogs()[1].kind, CommonDialogKind::Open);
}

TEST(CommonDialog, CancelledColourKeepsThePresetColour) {
  ScriptedDialogs dialogs;
  dialogs.ChooseColor(0x8000);
  dialogs.CancelColorDialog();

  CommonDialog dialog;
  dialog.Flags = CommonDialogFlags::ColorInitial;
  dialog.ShowColor();
  EXPECT_EQ(dialog.Color, 0x8000);
  dialog.Color = 0;
  dialog.ShowColor();
  EXPECT_EQ(dialog.Color, 0);
  ASSERT_EQ(dialogs.CommonDialogs().size(), 2u);
  EXPECT_EQ(dialogs.CommonDialogs()[1].kind, CommonDialogKind::Color);

  dialog.CancelError = true;
  EXPECT_THROW(dialog.ShowColor(), RuntimeError);
}

TEST(CommonDialog, FiltersBecomeQtNameFilters) {
  const struct {
    const char* filter;
    QStringList expected;
  } cases[] = {
      {"(*.MDB)|*.MDB|(All Files)|*.*", {"(*.MDB *.mdb)", "(All Files) (*.*)"}},
      {"ADIF Files (*.adi) | *.adi", {"ADIF Files (*.adi *.ADI)"}},
      {"*.DAT; *.MDB|*.DAT; *.MDB", {"*.DAT; *.MDB (*.DAT *.dat *.MDB *.mdb)"}},
      {"(*.wav)|*.wav", {"(*.wav *.WAV)"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(QtNameFilters(c.filter), c.expected) << c.filter;
}

TEST(Beep, CountedWhileScripted) {
  ScriptedDialogs dialogs;
  Beep();
  Beep();
  EXPECT_EQ(dialogs.Beeps(), 2);
}

TEST(Clipboard, ClearSetAndGet) {
  Clipboard::SetText("W1AW\t599\r\n");
  EXPECT_EQ(Clipboard::GetText(), "W1AW\t599\r\n");
  Clipboard::Clear();
  EXPECT_EQ(Clipboard::GetText(), "");
}
