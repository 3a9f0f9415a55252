#pragma once

#include "platform/controlarray.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace spotting {

// Shows the stored spots on one row per band, 1.8 to 148 MHz, each row's scale narrowed to its
// spots. Always shown modally; spots that arrive meanwhile are drawn at once.
class SpectrumMap : public platform::Form {
 public:
  SpectrumMap();

  // Row k's navy strip, then its line, so the line lies on the strip.
  platform::ControlArray<platform::Label> lblHFSpots{this, "lblHFSpots"};  // 0..10
  platform::ControlArray<platform::Line> lineHF{this, "lineHF"};           // 0..10
  // Row k's scale: 5k to 5k + 4, left to right.
  platform::ControlArray<platform::Label> lblFreqSpot{this, "lblFreqSpot"};  // 0..54
  // One per store slot; made last and newest last, so the newest spot's label lies on top.
  platform::ControlArray<platform::Label> lblDXSpot{this, "lblDXSpot"};  // 0..49

  void Form_Load() override;
  void Form_Activate() override;
  void lblDXSpot_MouseDown(int Index, int Button, int Shift, float X, float Y);

  // Draws the scales and the stored spots on the map.
  void BandMapLabelDisplay();

 private:
  void DrawFrequencyScale();
  void ResizeControls();
  void TakeSpot(int slot);
};

}  // namespace spotting
