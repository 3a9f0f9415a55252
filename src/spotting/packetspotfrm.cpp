#include "spotting/packetspotfrm.h"

namespace spotting {

PacketSpotfrm::PacketSpotfrm() : Form(QStringLiteral("PacketSpotfrm")) {
  SetCaption(QStringLiteral(" DX Spotting Setup"));
  Move(0, 0, 9600, 7200);
  List1.Move(240, 480, 2400, 1020);
  OptList.SetCaption(QStringLiteral("List"));
  OptList.Move(3000, 480, 1200, 255);
}

}  // namespace spotting
