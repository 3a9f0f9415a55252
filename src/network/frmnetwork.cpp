#include "network/frmnetwork.h"

namespace network {

frmNetwork::frmNetwork() : Form(QStringLiteral("frmNetwork")) {
  SetCaption(QStringLiteral(" Network Status Display"));
  Move(0, 0, 9600, 7200);
}

}  // namespace network
