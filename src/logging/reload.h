#pragma once

#include <cstdint>

namespace logging {

// Rebuilds the in-memory log from tbllog, oldest first, then the per-band counts, worked-grid
// lists and activated grids from it. Throws platform::RuntimeError when the table cannot be read;
// the tallies are then left as they were.
void ReloadLogStore(std::uint8_t rover, std::uint8_t contestType);

}  // namespace logging
