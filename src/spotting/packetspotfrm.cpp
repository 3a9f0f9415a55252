#include "spotting/packetspotfrm.h"

namespace spotting {

PacketSpotfrm::PacketSpotfrm() : Form(QStringLiteral("PacketSpotfrm")) {
  SetCaption(QStringLiteral(" DX Spotting Setup"));
  Move(0, 0, 9600, 7200);
}

}  // namespace spotting
