#include "keying/frmcodepractice.h"

#include "app/modformresize.h"
#include "keying/cwfrm.h"
#include "keying/globals.h"
#include "keying/numberboxes.h"
#include "logging/keyfilters.h"
#include "platform/clock.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/keys.h"
#include "platform/trace.h"

namespace keying {

namespace {

constexpr double kButtonHeight = 375;
constexpr double kBoxHeight = 285;
constexpr double kLabelHeight = 240;
constexpr int kLetters = 26;
constexpr int kAllCharacters = 41;

const QString kDefaultGroups = QStringLiteral("10");
// What a text box holds; a count of millions of groups would otherwise build a text that
// exhausts memory.
constexpr qsizetype kMostPracticeText = 65535;
const QString kDefaultGroupLength = QStringLiteral("5");

}  // namespace

frmCodePractice::frmCodePractice() : Form(QStringLiteral("frmCodePractice")) {
  SetCaption(QStringLiteral("On the Air Code Practice"));
  Move(0, 0, 8400, 6600);

  platform::DesignCaption(lblExplanation,
                          QStringLiteral("You can transmit morse code practice using randomly generated characters, "
                                         "copying and pasting text or typing text into the \"Text to Send\" text box."
                                         "  Click Send to send the characters. "),
                          120, 120, 8040, 480);
  platform::DesignCaption(fraTextToSend, " Text to Send", 120, 660, 5400, 1920);
  Text1.Move(120, 270, 5160, 1530);
  platform::DesignCaption(fraTextSent, " Text Sent", 120, 2700, 5400, 1920);
  Text2.Move(120, 270, 5160, 1530);
  platform::DesignCaption(fraKeyboard, "Type characters here to send text from keyboard:", 120, 4740, 5400, 720);
  Text5.Move(120, 300, 5160, kBoxHeight);

  platform::DesignCaption(lblGenerate, "Generate", 5700, 720, 960, kLabelHeight);
  Text3.SetText(kDefaultGroups);
  Text3.Move(6720, 690, 480, kBoxHeight);
  platform::DesignCaption(lblGroupsOf, "groups of", 7260, 720, 1020, kLabelHeight);
  Text4.SetText(kDefaultGroupLength);
  Text4.Move(5700, 1050, 480, kBoxHeight);
  platform::DesignCaption(lblCharactersEach, "characters each.", 6240, 1080, 1980, kLabelHeight);
  platform::DesignCaption(fraInclude, "Include:", 5700, 1440, 2520, 900);
  platform::DesignCaption(Option1, "Letters Only", 120, 270, 2280, kBoxHeight);
  platform::DesignCaption(Option2, "All", 120, 570, 2280, kBoxHeight);
  Option2.SetValue(true);

  platform::DesignCaption(Command2, "&Generate Random Characters", 5700, 2460, 2520, kButtonHeight);
  platform::DesignCaption(Command3, "&Send", 5700, 2940, 1200, kButtonHeight);
  platform::DesignCaption(Command4, "S&top", 7020, 2940, 1200, kButtonHeight);
  platform::DesignCaption(Command1, "&Paste from Clipboard", 5700, 3420, 2520, kButtonHeight);
  platform::DesignCaption(Command6, "&Clear", 5700, 3900, 1200, kButtonHeight);
  platform::DesignCaption(Command5, "Cl&ear", 7020, 3900, 1200, kButtonHeight);
  platform::DesignCaption(Command7, "&Faster", 5700, 4800, 1200, kButtonHeight);
  platform::DesignCaption(Command8, "S&lower", 7020, 4800, 1200, kButtonHeight);
  platform::DesignCaption(Label8, "13", 5700, 5340, 600, kLabelHeight);
  platform::DesignCaption(lblWPM, "WPM", 6360, 5340, 720, kLabelHeight);
  // "Generate [3] groups of [5] characters each." reads as one sentence around its two boxes.
  Text3.SetAccessibleName(QStringLiteral("Groups to generate"));
  Text4.SetAccessibleName(QStringLiteral("Characters in each group"));
  Command6.SetAccessibleDescription(QStringLiteral("Clears the text to send"));
  Command5.SetAccessibleDescription(QStringLiteral("Clears the text sent"));
  Label8.NameAfter(lblWPM);

  WIRE(Command2, Click);
  WIRE(Command3, Click);
  WIRE(Command4, Click);
  WIRE(Command1, Click);
  WIRE(Command6, Click);
  WIRE(Command5, Click);
  WIRE(Command7, Click);
  WIRE(Command8, Click);
  WIRE(Text5, KeyPress);
  WIRE(Text1, KeyPress);
}

void frmCodePractice::Form_Load() {
  platform::SkipOnError(lcKeying, [this] {
    using namespace app::ModFormResize;
    FitToScreen(*this, FitRule{ScreenPlacement::Centred, FitArea::WorkArea, FontFactor::ScreenWidthAtMost1_5});
  });
  platform::SkipOnError(lcKeying, [this] { ShowSpeed(); });
  FillPracticeCharacters();
}

void frmCodePractice::FillPracticeCharacters() {
  const QString characters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-");
  for (int entry = 1; entry <= kAllCharacters; ++entry) PracticeCharacters[entry] = characters.at(entry - 1);
}

// Groups of random characters, each group followed by one blank.
void frmCodePractice::Command2_Click() {
  if (!HoldsNumber(Text3)) Text3.SetText(kDefaultGroups);
  if (!HoldsNumber(Text4)) Text4.SetText(kDefaultGroupLength);
  random_.seed(platform::TimeGetTime());
  const int drawnFrom = Option1.Value() ? kLetters : kAllCharacters;
  std::uniform_int_distribution<int> entry(1, drawnFrom);
  const double groups = NumberIn(Text3);
  const double groupLength = NumberIn(Text4);
  QString text;
  for (double group = 1; group <= groups && text.size() < kMostPracticeText; ++group) {
    for (double character = 1; character <= groupLength && text.size() < kMostPracticeText; ++character)
      text += PracticeCharacters[entry(random_)];
    text += QLatin1Char(' ');
  }
  Text1.SetText(text);
}

// Text1 is read again for every character, so edits made while sending count; Stop ends it by
// emptying the text at the next length test.
void frmCodePractice::Command3_Click() {
  try {
    PracticeText = Text1.Text();
    Text1.SetFocus();
    for (qsizetype position = 1; position <= PracticeText.size(); ++position) {
      PracticeText = Text1.Text();
      const QString character = PracticeText.mid(position - 1, 1);
      CWBuffer = character;
      if (CWSending == 0) platform::Instance<CWFrm>().LoopThroughCWBuffer();
      ShowSent(character);
      Text1.SetSelStart(static_cast<int>(std::min(position, Text1.Text().size())));
      platform::DoEvents();
    }
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
  }
}

// The caret before the last character keeps the end of the sent text in view.
void frmCodePractice::ShowSent(const QString& character) {
  Text2.SetText(Text2.Text() + character);
  if (!Text2.Text().isEmpty()) Text2.SetSelStart(static_cast<int>(Text2.Text().size() - 1));
}

// The character being keyed is finished by the keying loop.
void frmCodePractice::Command4_Click() {
  PracticeText.clear();
  CWBuffer.clear();
}

// Each key is sent as it is typed; Backspace takes back the last character not sent yet.
void frmCodePractice::Text5_KeyPress(int& KeyAscii) {
  try {
    logging::Capital(KeyAscii);
    const int key = KeyAscii;
    KeyAscii = 0;
    if (key == platform::KeyBack) {
      if (!CWBuffer.isEmpty()) CWBuffer.chop(1);
      QString sent = Text2.Text();
      sent.chop(1);
      Text2.SetText(sent);
      return;
    }
    const QString character{QChar(key)};
    ShowSent(character);
    CWBuffer += character;
    if (CWSending == 0) platform::Instance<CWFrm>().LoopThroughCWBuffer();
  } catch (const std::exception& error) {
    platform::TraceError(lcKeying, error);
  }
}

void frmCodePractice::Text1_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }

void frmCodePractice::Command1_Click() { Text1.SetText(platform::Clipboard::GetText()); }

void frmCodePractice::Command6_Click() { Text1.SetText(QString()); }

void frmCodePractice::Command5_Click() { Text2.SetText(QString()); }

void frmCodePractice::Command7_Click() {
  platform::Instance<CWFrm>().UpDown1_UpClick();
  ShowSpeed();
}

void frmCodePractice::Command8_Click() {
  platform::Instance<CWFrm>().UpDown1_DownClick();
  ShowSpeed();
}

void frmCodePractice::ShowSpeed() { Label8.SetCaption(platform::Instance<CWFrm>().Text11.Text()); }

// While a character is keyed the window stays: the keying loop runs out with the empty buffer.
void frmCodePractice::Form_Unload(int& Cancel) {
  CWBuffer.clear();
  PracticeText.clear();
  if (CWSending == 1) Cancel = 1;
}

}  // namespace keying
