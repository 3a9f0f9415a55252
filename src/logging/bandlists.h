#pragma once

#include <cstdint>

namespace app {
class Form1;
}

namespace logging {

// List boxes List1 to List10 show the worked grids of the first ten bands ("50 M" to "10 G");
// the bands above have no list. Refills one band's list from its worked-grid list.
void FillBandList(app::Form1& form, std::int32_t bandIndex);

// Brings one band's list up to a worked-grid list that grew by one entry: the entry is added when
// the list shows the band's earlier entries, and the list is filled again otherwise.
void ListNewBandGrid(app::Form1& form, std::int32_t bandIndex);

// Refills all ten.
void FillBandLists(app::Form1& form);

}  // namespace logging
