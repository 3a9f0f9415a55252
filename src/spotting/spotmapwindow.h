#pragma once

#include "platform/form.h"

namespace spotting {

// Shows the stored spots on one row per band.
class SpectrumMap : public platform::Form {
 public:
  SpectrumMap();

  // Draws the stored spots on the map.
  void BandMapLabelDisplay();
};

}  // namespace spotting
