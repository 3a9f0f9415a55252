#pragma once

#include "platform/controls.h"
#include "platform/form.h"
#include "rig/bandplan.h"

#include <QString>

#include <memory>
#include <vector>

namespace spotting {

// Shows the band plan segments a licence class may use, band by band, from BandPlan.txt in the
// current folder (the program folder, made current by whoever opens the viewer).
class frmBandPlan : public platform::Form {
 public:
  frmBandPlan();

  // The rows of BandPlan.txt in file order, at most rig::MaxBandPlanRows.
  std::vector<rig::BandPlanRow> PlanRows;

  platform::CommandButton Command1{this, "Command1"};  // Novice
  platform::CommandButton Command2{this, "Command2"};  // Technician
  platform::CommandButton Command3{this, "Command3"};  // Tech +
  platform::CommandButton Command4{this, "Command4"};  // General
  platform::CommandButton Command5{this, "Command5"};  // Advanced
  platform::CommandButton Command6{this, "Command6"};  // Extra
  platform::Label Label1{this, "Label1"};  // the effective date
  platform::Label Label2{this, "Label2"};  // the class shown
  platform::Label Label3{this, "Label3"};  // legend: CW
  platform::Label Label4{this, "Label4"};  // legend: phone
  platform::Line Line1{this, "Line1"};     // the bands are drawn below it
  platform::CommandButton Command7{this, "Command7"};  // Done

  void Form_Load() override;
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();

 private:
  // A band bar of the drawing and the range its segments are placed in.
  struct DrawnBand {
    platform::Label* bar;
    float lower;
    float upper;
  };

  void FitToWorkArea();
  bool ReadPlan();
  void ShowClass(const QString& title, const QString& classLetter);
  void DrawBandPlan(const QString& classLetter);
  void DrawBands(const QString& classLetter);
  void RemoveDrawing();
  std::vector<const rig::BandPlanRow*> BandsShownFor(const QString& classLetter) const;
  const rig::BandPlanRow* FirstRowOfBand(const QString& band) const;
  platform::Label& AddDrawnLabel(const QString& name, const QString& text, const QString& toolTip);

  // The run-time labels of the drawing: "blbl" band bars, "bnlb" band names, "priv" segments.
  std::vector<std::unique_ptr<platform::Label>> drawing_;
};

}  // namespace spotting
