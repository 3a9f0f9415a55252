// The main window's band map: spot labels placed along a frequency scale of the current band.
// It shows only while lblDX is visible, which takes a spot source.
#include "app/form1.h"
#include "platform/trace.h"

namespace app {

void Form1::BandMapScale() { NOT_BUILT_YET(); }

void Form1::DisplayBandMapLabels() {
  if (!lblDX.Visible()) return;
  NOT_BUILT_YET();
}

// A band map that cannot be drawn now is left as it is; the next refresh tries again.
void Form1::RefreshBandMap() {
  if (!lblDX.Visible()) return;
  platform::SkipOnError(lcSpotting, [this] { DisplayBandMapLabels(); });
}

void Form1::PacketResize() { NOT_BUILT_YET(); }

}  // namespace app
