#include "logging/bandlists.h"

#include "app/form1.h"
#include "logging/logstore.h"

namespace logging {

void FillBandList(app::Form1& form, std::int32_t bandIndex) {
  const auto lists = form.BandLists();
  if (bandIndex < 0 || bandIndex >= static_cast<std::int32_t>(lists.size())) return;
  platform::ListBox& list = *lists[bandIndex];
  list.Clear();
  for (std::int32_t slot = 1; slot <= BandGridCount[bandIndex]; ++slot) list.AddItem(BandGrids[bandIndex][slot]);
}

void FillBandLists(app::Form1& form) {
  for (std::int32_t band = 0; band < static_cast<std::int32_t>(form.BandLists().size()); ++band) {
    FillBandList(form, band);
  }
}

}  // namespace logging
