#include "logtools/form2.h"

#include "app/folders.h"
#include "app/form1.h"
#include "app/globalpreferences.h"
#include "app/globals.h"
#include "app/modformresize.h"
#include "logging/keyfilters.h"
#include "logtools/exportdialogs.h"
#include "platform/design.h"
#include "platform/dialogs.h"
#include "platform/instances.h"
#include "platform/settings.h"

#include <array>

namespace logtools {

namespace {

const QString kSettingsApp = QStringLiteral("Varnek_Software");
const QString kSettingsSection = QStringLiteral("Settings");

// A personal detail kept between contests: in the settings store, in the shared preferences file
// for the maker's other programs, and in its box.
struct PersonalDetail {
  const char* settingKey;
  const char* preferenceKey;
  platform::TextBox Form2::*box;
};

// In the order they are read and saved.
const std::array<PersonalDetail, 6> kPersonalDetails = {{
    {"UserAddressName", "OWN_ADDRESS_NAME", &Form2::Text5},
    {"UserAddressLine1", "OWN_ADDRESS_Line1", &Form2::Text6},
    {"UserAddressLine2", "OWN_ADDRESS_Line2", &Form2::Text7},
    {"UserEMail", "OWN_EMAIL", &Form2::Text8},
    {"UserARRLSection", "OWN_ARRL_SECTION", &Form2::Text1},
    {"UserClubName", "OWN_CLUB_NAME", &Form2::Text10},
}};

constexpr double kRowTop = 2640;
constexpr double kRowHeight = 375;

void DesignOption(platform::OptionButton& option, const char* caption, int row, bool selected = false) {
  platform::DesignCaption(option, QString::fromUtf8(caption), 120, 300 + 330 * row, 2520, 285);
  option.SetValue(selected);
}

void DesignRow(platform::Label& label, const char* caption, platform::TextBox& box, int row, double boxWidth = 4320) {
  const double top = kRowTop + kRowHeight * row;
  platform::DesignCaption(label, QString::fromUtf8(caption), 240, top + 30, 4320, 255);
  box.Move(4680, top, boxWidth, 315);
  box.NameAfter(label);
}

// The operator and band options selected; exactly one of each group is.
OperatorOption OperatorChosen(const Form2& form) {
  if (form.Option2.Value()) return OperatorOption::Option2;
  if (form.Option3.Value()) return OperatorOption::Option3;
  if (form.Option6.Value()) return OperatorOption::Option6;
  if (form.Option7.Value()) return OperatorOption::Option7;
  if (form.Option4.Value()) return OperatorOption::Option4;
  return OperatorOption::Option1;
}

BandOption BandChosen(const Form2& form) {
  if (form.Option5.Value()) return BandOption::Option5;
  if (form.Option12.Value()) return BandOption::Option12;
  if (form.Option13.Value()) return BandOption::Option13;
  return BandOption::Option8;
}

}  // namespace

Form2::Form2() : Form(QStringLiteral("Form2")) {
  SetCaption(QStringLiteral("Summary Sheet Information"));
  Move(0, 0, 9360, 6840);
  LayOut();
  WIRE(Text1, KeyPress);
  WIRE(Command4, Click);
  WIRE(Command3, Click);
}

void Form2::LayOut() {
  platform::DesignCaption(Frame2, QStringLiteral("Operator:"), 240, 120, 2760, 2400);
  DesignOption(Option1, "Single", 0, true);
  DesignOption(Option2, "Single Op Portable", 1);
  DesignOption(Option3, "Rover", 2);
  DesignOption(Option6, "Multi-Limited", 3);
  DesignOption(Option7, "Multi-Unlimited", 4);
  DesignOption(Option4, "Checklog", 5);
  platform::DesignCaption(Frame1, QStringLiteral("Band Category:"), 3240, 120, 2640, 1740);
  DesignOption(Option8, "All", 0, true);
  DesignOption(Option5, "Limited", 1);
  DesignOption(Option12, "3 Band", 2);
  DesignOption(Option13, "FM Only", 3);
  platform::DesignCaption(Frame6, QStringLiteral("Power Category (Single Op Only):"), 6120, 120, 2880, 1080);
  DesignOption(Option19, "Low", 0, true);
  DesignOption(Option18, "High", 1);

  DesignRow(Label1, "Your ARRL/RAC Section Abbreviation:", Text1, 0, 1200);
  DesignRow(Label2, "If multioperator, list calls of all operators:", Text2, 1);
  DesignRow(Label5, "Your Name:", Text5, 2);
  DesignRow(Label6, "Address Line 1:", Text6, 3);
  DesignRow(Label7, "Address Line 2:", Text7, 4);
  DesignRow(Label8, "Email Address:", Text8, 5);
  DesignRow(Label10, "Club Name (if club participation):", Text10, 6);
  platform::DesignCaption(Label11,
                          QStringLiteral("Soapbox (Add any comments you would like to make about the contest):"), 240,
                          kRowTop + kRowHeight * 7, 8760, 255);
  Text11.Move(240, kRowTop + kRowHeight * 7 + 285, 8760, 315);
  Text11.NameAfter(Label11);
  platform::DesignCaption(Command4, QStringLiteral("Write Cabrillo Log File"), 2280, 5985, 2640, 375);
  platform::DesignCaption(Command3, QStringLiteral("Done"), 5400, 5985, 1560, 375);
}

void Form2::Form_Load() {
  app::ModFormResize::ResizeToScreen(*this);
  if (app::Rover == 1) Option3.SetValue(true);
  if (app::ContestType == 5) UseCqLayout();
  LoadPersonalDetails();
}

// The CQ contest has no section and no band category; its power frame asks for assistance.
void Form2::UseCqLayout() {
  Option1.SetCaption(QStringLiteral("Single Op"));
  Option2.SetCaption(QStringLiteral("Single Op QRP"));
  Option3.SetCaption(QStringLiteral("Single Op 6M"));
  Option6.SetCaption(QStringLiteral("Single Op 2M"));
  Option7.SetCaption(QStringLiteral("Multi Op"));
  Option4.SetCaption(QStringLiteral("Rover"));
  Label1.SetVisible(false);
  Text1.SetVisible(false);
  if (app::Rover == 1) Option4.SetValue(true);
  Frame6.SetCaption(QStringLiteral("Category Assisted:"));
  Option19.SetCaption(QStringLiteral("ASSISTED"));
  Option18.SetCaption(QStringLiteral("NON-ASSISTED"));
  Option18.SetValue(true);
  Frame1.SetEnabled(false);
  Option8.SetEnabled(false);
  Option5.SetEnabled(false);
}

void Form2::LoadPersonalDetails() {
  for (const PersonalDetail& detail : kPersonalDetails) {
    (this->*detail.box)
        .SetText(platform::GetSetting(kSettingsApp, kSettingsSection, QString::fromUtf8(detail.settingKey)));
  }
}

void Form2::Text1_KeyPress(int& KeyAscii) { logging::Capital(KeyAscii); }

CabrilloEntry Form2::EntryAsChosen() const {
  const app::Form1& main = platform::Instance<app::Form1>();
  CabrilloEntry entry;
  entry.MainWindowCaption = main.Caption();
  entry.ContestType = app::ContestType;
  entry.OwnCall = app::OwnCall;
  entry.ClaimedScore = main.lblTotScore.Caption();
  entry.Operator = OperatorChosen(*this);
  entry.Band = BandChosen(*this);
  entry.Power = Option18.Value() ? PowerOption::Option18 : PowerOption::Option19;
  entry.Section = Text1.Text();
  entry.Operators = Text2.Text();
  entry.Club = Text10.Text();
  entry.Name = Text5.Text();
  entry.AddressLine1 = Text6.Text();
  entry.AddressLine2 = Text7.Text();
  entry.Email = Text8.Text();
  entry.Soapbox = Text11.Text();
  return entry;
}

// The details are kept only once the file is written: a cancelled or failed write keeps none.
void Form2::Command4_Click() {
  RunExport([this] { WriteLogFile(); });
}

void Form2::WriteLogFile() {
  app::SelectProgramFolder();
  app::OwnCall = app::OwnCall.trimmed();
  const QString stem = app::modGlobalPreferences::CallToFileStem(app::OwnCall);
  const QString path = ChooseExportFile(platform::Instance<app::Form1>().cdbFile,
                                        app::DataFolder + QStringLiteral("\\") + stem + QStringLiteral(".log"),
                                        QStringLiteral("Cabrillo Log Files (*.log)|*.log"));
  app::SelectProgramFolder();
  WriteCabrilloLog(path, EntryAsChosen());
  platform::Beep();
  app::SelectProgramFolder();
  // Names the default file name, whichever name was chosen.
  platform::MsgBox(QStringLiteral("The file ") + stem +
                       QStringLiteral(".log was successfully written to the directory:") + kLineBreak + kLineBreak +
                       path + QStringLiteral(".") + kLineBreak + kLineBreak +
                       QStringLiteral("Attach this file to an e-mail addressed for contest submission.  If you wish to "
                                      "print this file, you can open it with Notepad or Wordpad to print."),
                   platform::MsgBoxStyle::OKOnly, QStringLiteral("File Written Successfully."));
  platform::Beep();
  platform::MsgBox(QStringLiteral("Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a "
                                  "friend!") +
                       kLineBreak + kLineBreak + QStringLiteral("73 and good luck in the next contest,") + kLineBreak +
                       QStringLiteral("Varnek Software"),
                   platform::MsgBoxStyle::OKOnly, QStringLiteral("  Thanks!"));
  Command3.SetFocus();
  SavePersonalDetails();
}

// The shared preferences file is written once, with the last of the six.
void Form2::SavePersonalDetails() {
  for (const PersonalDetail& detail : kPersonalDetails) {
    platform::SaveSetting(kSettingsApp, kSettingsSection, QString::fromUtf8(detail.settingKey),
                          (this->*detail.box).Text().trimmed());
  }
  for (const PersonalDetail& detail : kPersonalDetails) {
    const bool last = &detail == &kPersonalDetails.back();
    app::modGlobalPreferences::SetPreference(QString::fromUtf8(detail.preferenceKey),
                                             (this->*detail.box).Text().trimmed(), last ? 1 : 0);
  }
}

void Form2::Command3_Click() { Hide(); }

}  // namespace logtools
