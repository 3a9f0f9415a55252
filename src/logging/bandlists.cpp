#include "logging/bandlists.h"

#include "app/form1.h"
#include "logging/logstore.h"

namespace logging {

namespace {

platform::ListBox* BandListOf(app::Form1& form, std::int32_t bandIndex) {
  const auto lists = form.BandLists();
  if (bandIndex < 0 || bandIndex >= static_cast<std::int32_t>(lists.size())) return nullptr;
  return lists[bandIndex];
}

}  // namespace

void FillBandList(app::Form1& form, std::int32_t bandIndex) {
  platform::ListBox* list = BandListOf(form, bandIndex);
  if (list == nullptr) return;
  list->Clear();
  for (std::int32_t slot = 1; slot <= BandGridCount[bandIndex]; ++slot) list->AddItem(BandGrids[bandIndex][slot]);
}

void ListNewBandGrid(app::Form1& form, std::int32_t bandIndex) {
  platform::ListBox* list = BandListOf(form, bandIndex);
  if (list == nullptr) return;
  const std::int32_t listed = BandGridCount[bandIndex] - 1;
  if (list->ListCount() != listed || (listed > 0 && list->List(listed - 1) != BandGrids[bandIndex][listed])) {
    FillBandList(form, bandIndex);
    return;
  }
  list->AddItem(BandGrids[bandIndex][listed + 1]);
}

void FillBandLists(app::Form1& form) {
  for (std::int32_t band = 0; band < static_cast<std::int32_t>(form.BandLists().size()); ++band) {
    FillBandList(form, band);
  }
}

}  // namespace logging
