#include "spotting/spotmapwindow.h"

#include "platform/trace.h"

namespace spotting {

SpectrumMap::SpectrumMap() : Form(QStringLiteral("SpectrumMap")) {
  SetCaption(QStringLiteral(" HF Spectrum Map"));
  Move(0, 0, 9600, 7200);
}

void SpectrumMap::BandMapLabelDisplay() { NOT_BUILT_YET(); }

}  // namespace spotting
