#pragma once

#include "logtools/rategraph.h"
#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace logtools {

// Plots the contact rate over the whole log, with the bands of the contacts in a strip under the
// time axis. The drawing is kept by the window, so it survives repaints; a new background erases
// it and the graph is drawn again.
class GraphQSO : public platform::Form {
 public:
  GraphQSO();

  // The plot frame and, under its bottom edge, the band strip's top and bottom (never shown).
  platform::Line Line4{this, "Line4"};
  platform::Line Line3{this, "Line3"};
  platform::Line Line1{this, "Line1"};
  platform::Line Line2{this, "Line2"};
  platform::Line Line8{this, "Line8"};
  platform::Line Line9{this, "Line9"};
  // The horizontal grid, dotted, from the top down: Line7, Line6, Line5, then Line10 to Line21.
  platform::Line Line7{this, "Line7"};
  platform::Line Line6{this, "Line6"};
  platform::Line Line5{this, "Line5"};
  platform::Line Line10{this, "Line10"};
  platform::Line Line11{this, "Line11"};
  platform::Line Line12{this, "Line12"};
  platform::Line Line13{this, "Line13"};
  platform::Line Line14{this, "Line14"};
  platform::Line Line15{this, "Line15"};
  platform::Line Line16{this, "Line16"};
  platform::Line Line17{this, "Line17"};
  platform::Line Line18{this, "Line18"};
  platform::Line Line19{this, "Line19"};
  platform::Line Line20{this, "Line20"};
  platform::Line Line21{this, "Line21"};
  platform::ControlArray<platform::Label> lblY{this, "lblY"};
  platform::ControlArray<platform::Label> lblTime{this, "lblTime"};
  platform::ControlArray<platform::Label> lblDate{this, "lblDate"};
  platform::Label Label1{this, "Label1"};
  platform::ControlArray<platform::Label> lblBnd{this, "lblBnd"};
  platform::CommandButton Command1{this, "Command1"};

  void Form_Load() override;
  void Command1_Click();
  void DrawGraph();

 private:
  void LayOut();
  GraphColors CurrentColors() const;
  GraphFrame FrameOfLines() const;
  void ShowLabels(const RateGraph& graph);
  void SetAxisColors(platform::Color color);
};

}  // namespace logtools
