#include "spotting/spotmapwindow.h"

namespace spotting {

SpectrumMap::SpectrumMap() : Form(QStringLiteral("SpectrumMap")) {
  SetCaption(QStringLiteral(" HF Spectrum Map"));
  Move(0, 0, 9600, 7200);
}

}  // namespace spotting
