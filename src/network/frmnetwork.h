#pragma once

#include "platform/form.h"

namespace network {

// The station network window: the band-by-mode table of the station's PCs, station messages,
// clock synchronisation and the TCP links between the PCs.
class frmNetwork : public platform::Form {
 public:
  frmNetwork();
};

}  // namespace network
