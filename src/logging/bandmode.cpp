// The current band and mode: the band and mode menus, the panel labels that stand for them, and
// the rig window's way of making the log follow the rig.
#include "app/form1.h"
#include "app/globals.h"
#include "logging/bandfrequency.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/scoring.h"
#include "network/frmnetwork.h"
#include "platform/trace.h"

#include <utility>

namespace app {

namespace {

constexpr platform::Color OccupiedCellColor = 255;  // the network grid's red

bool SameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool IsCw(const QString& mode) { return SameText(mode, QStringLiteral("CW")); }

// The other PCs learn of every change at once, not only at the next minute's report.
void ReportToNetwork() { platform::Instance<network::frmNetwork>().Timer1_Timer(); }

void SelectBand(Form1& form, std::int32_t band) {
  logging::CurrentBand = logging::BandNames[band];
  form.BandConflictWarning();
  ReportToNetwork();
  form.ShowCurrentBand();
}

void SelectMode(Form1& form, const QString& mode) {
  logging::CurrentMode = mode;
  form.BandConflictWarning();
  ReportToNetwork();
  form.mnuCW.SetChecked(IsCw(mode));
  form.mnuPhone.SetChecked(!IsCw(mode));
  form.Label30.SetCaption(logging::CurrentMode);
  form.SavePref();
  const int rstLength = IsCw(logging::CurrentMode) ? 3 : 2;  // "599" or "59"
  form.txtRSTR.SetMaxLength(rstLength);
  form.txtRSTS.SetMaxLength(rstLength);
  form.txtSec_Change();
}

}  // namespace

std::array<platform::Menu*, 17> Form1::BandMenus() {
  return {&mnu160, &mnu80,  &mnu40,  &mnu20,   &mnu15,   &mnu10,   &mnu23,   &mnu35,  &mnu58,
          &mnu10g, &mnu24g, &mnu47g, &mnu75g,  &mnu120g, &mnu142g, &mnu241g, &mnu300g};
}

// The menus' names are not their bands: mnu160 is 50 MHz.
void Form1::mnu160_Click() { SelectBand(*this, 0); }
void Form1::mnu80_Click() { SelectBand(*this, 1); }
void Form1::mnu40_Click() { SelectBand(*this, 2); }
void Form1::mnu20_Click() { SelectBand(*this, 3); }
void Form1::mnu15_Click() { SelectBand(*this, 4); }
void Form1::mnu10_Click() { SelectBand(*this, 5); }
void Form1::mnu23_Click() { SelectBand(*this, 6); }
void Form1::mnu35_Click() { SelectBand(*this, 7); }
void Form1::mnu58_Click() { SelectBand(*this, 8); }
void Form1::mnu10g_Click() { SelectBand(*this, 9); }
void Form1::mnu24g_Click() { SelectBand(*this, 10); }
void Form1::mnu47g_Click() { SelectBand(*this, 11); }
void Form1::mnu75g_Click() { SelectBand(*this, 12); }
void Form1::mnu120g_Click() { SelectBand(*this, 13); }
void Form1::mnu142g_Click() { SelectBand(*this, 14); }
void Form1::mnu241g_Click() { SelectBand(*this, 15); }
void Form1::mnu300g_Click() { SelectBand(*this, 16); }

// Each of the first ten bands' heading label and count label selects the band.
void Form1::lbl160_Click() { mnu160_Click(); }
void Form1::lbl50_Click() { mnu160_Click(); }
void Form1::lbl80_Click() { mnu80_Click(); }
void Form1::lbl144_Click() { mnu80_Click(); }
void Form1::lbl40_Click() { mnu40_Click(); }
void Form1::lbl222_Click() { mnu40_Click(); }
void Form1::lbl20_Click() { mnu20_Click(); }
void Form1::lbl432_Click() { mnu20_Click(); }
void Form1::lbl15_Click() { mnu15_Click(); }
void Form1::lbl902_Click() { mnu15_Click(); }
void Form1::lbl100_Click() { mnu10_Click(); }
void Form1::lbl13_Click() { mnu10_Click(); }
void Form1::Label15_Click() { mnu23_Click(); }
void Form1::lbl23_Click() { mnu23_Click(); }
void Form1::Label17_Click() { mnu35_Click(); }
void Form1::lbl35_Click() { mnu35_Click(); }
void Form1::Label18_Click() { mnu58_Click(); }
void Form1::lbl58_Click() { mnu58_Click(); }
void Form1::Label19_Click() { mnu10g_Click(); }
void Form1::lbl10_Click() { mnu10g_Click(); }

void Form1::mnuCW_Click() { SelectMode(*this, QStringLiteral("CW")); }
void Form1::mnuPhone_Click() { SelectMode(*this, QStringLiteral("PH")); }

void Form1::Label30_Click() {
  if (!IsCw(logging::CurrentMode)) {
    mnuCW_Click();
  } else {
    mnuPhone_Click();
  }
}

// Called on every rig poll. The band is compared as the contest logs it: under contest type 3 a
// rig on 144 MHz logs "222 M", and comparing the rig's own band would repeat the whole change,
// its network report and its save on every poll.
void Form1::BandFreqConversion(float frequencyValue) {
  try {
    const QString band = logging::BandOfFrequency(frequencyValue);
    if (band.isEmpty() || SameText(logging::BandInContest(band, ContestType), logging::CurrentBand)) return;
    SelectBand(*this, logging::BandIndex(band));
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
  }
}

// Called on every rig poll; a mode other than "PH" or "CW" leaves the mode alone.
void Form1::ModeSelection(const QString& strMode) {
  try {
    if (strMode.isEmpty() || SameText(strMode, logging::CurrentMode)) return;
    if (SameText(strMode, QStringLiteral("PH"))) {
      mnuPhone_Click();
    } else if (IsCw(strMode)) {
      mnuCW_Click();
    }
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
  }
}

// Another PC's name in a red cell of the current band's column: that station works the band
// already. Every such cell beeps; the last one's warning stays in lblDialog.
void Form1::BandConflictWarning() {
  try {
    lblDialog.SetCaption(QString());
    network::frmNetwork& network = platform::Instance<network::frmNetwork>();
    const std::pair<platform::ControlArray<platform::Label>*, QString> modeCells[] = {
        {&network.lblBandSSB, QStringLiteral(" SSB!")},
        {&network.lblBandCW, QStringLiteral(" on CW!")},
        {&network.lblBandDIG, QStringLiteral(" on digital!")},
    };
    for (int column : network.lblBndHdr.Indexes()) {
      if (!SameText(network.lblBndHdr[column].Caption(), logging::CurrentBand)) continue;
      for (const auto& [cells, ending] : modeCells) {
        const platform::Label& cell = (*cells)[column];
        if (cell.BackColor() != OccupiedCellColor) continue;
        if (cell.Caption().contains(network.Text1.Text(), Qt::CaseInsensitive)) continue;
        platform::Beep();
        lblDialog.SetCaption(QStringLiteral("Be careful, ") + cell.Caption() + QStringLiteral(" is also operating on ") +
                             logging::CurrentBand + ending);
      }
    }
    platform::DoEvents();
  } catch (const std::exception& error) {
    platform::TraceError(lcLogging, error);
  }
}

}  // namespace app
