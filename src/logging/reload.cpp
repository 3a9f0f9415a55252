#include "logging/reload.h"

#include "logging/logstore.h"
#include "logging/logtable.h"

namespace logging {

void ReloadLogStore(std::uint8_t rover, std::uint8_t contestType) {
  LoadContactsFromTable();
  RebuildBandTallies(rover, contestType);
}

}  // namespace logging
