#include "logging/logstore.h"

#include "platform/errors.h"

#include <algorithm>
#include <utility>

namespace logging {

void SubscriptOutOfRange() { throw platform::RuntimeError(QStringLiteral("Subscript out of range"), 9); }

namespace {

bool ListsRoverGrids(std::uint8_t rover, std::uint8_t contestType) { return rover == 1 && contestType >= 5; }

void AppendWorkedGrid(std::int32_t bandIndex, const QString& entry) {
  const std::int32_t slot = BandGridCount[bandIndex] + 1;
  BandGrids[bandIndex].Set(slot, entry);
  BandGridCount[bandIndex] = slot;
}

void AppendActivatedGrid(const QString& ownGrid) {
  ++ActivatedGridCount;
  ActivatedGrids.Set(ActivatedGridCount, ownGrid);
}

// Notes the slot of an entry, regardless of case, unless an earlier slot holds it.
void KeepFirstSlot(QHash<QString, std::int32_t>& firstSlots, const QString& entry, std::int32_t slot) {
  const QString key = entry.toCaseFolded();
  if (!firstSlots.contains(key)) firstSlots.insert(key, slot);
}

void ClearTallies() {
  for (std::int32_t index = 0; index < BandCount; ++index) {
    BandGrids[index].Clear();
    BandGridCount[index] = 0;
    BandQsoCount[index] = 0;
  }
  ActivatedGrids.Clear();
  ActivatedGridCount = 0;
}

}  // namespace

void GridSlots::Set(std::int32_t slot, const QString& entry) {
  slots_.Set(slot, entry);
  if (slot == highest_ + 1 && !stale_) {
    KeepFirstSlot(firstSlots_, entry, slot);
  } else {
    stale_ = true;
  }
  highest_ = std::max(highest_, slot);
}

void GridSlots::Clear() {
  slots_.Clear();
  highest_ = 0;
  firstSlots_.clear();
  stale_ = false;
}

bool GridSlots::Holds(const QString& entry, std::int32_t count) const {
  if (stale_) {
    firstSlots_.clear();
    for (std::int32_t slot = 1; slot <= highest_; ++slot) KeepFirstSlot(firstSlots_, slots_[slot], slot);
    stale_ = false;
  }
  const auto found = firstSlots_.constFind(entry.toCaseFolded());
  return found != firstSlots_.cend() && *found <= count;
}

std::int32_t BandIndex(const QString& name) {
  for (std::int32_t index = 0; index < BandCount; ++index) {
    if (BandNames[index].compare(name, Qt::CaseInsensitive) == 0) return index;
  }
  return -1;
}

LogContact ContactInSlot(std::int32_t slot) {
  if (slot < 1 || slot > LogCount) SubscriptOutOfRange();
  return {LogCalls[slot], LogRstRcvd[slot], LogGridRcvd[slot], LogRstSent[slot], LogGridSent[slot],
          LogDate[slot],  LogTime[slot],    LogBand[slot],     LogMode[slot],    LogRowIds[slot]};
}

void AppendContact(const LogContact& contact) {
  const std::int32_t slot = LogCount + 1;
  LogCalls.Set(slot, contact.Call);
  LogRstRcvd.Set(slot, contact.RstRcvd);
  LogGridRcvd.Set(slot, contact.GridRcvd);
  LogRstSent.Set(slot, contact.RstSent);
  LogGridSent.Set(slot, contact.GridSent);
  LogDate.Set(slot, contact.Date);
  LogTime.Set(slot, contact.Time);
  LogBand.Set(slot, contact.Band);
  LogMode.Set(slot, contact.Mode);
  LogRowIds.Set(slot, contact.RowId);
  LogCount = slot;
}

void ReplaceContacts(const std::vector<LogContact>& contacts) {
  ClearContacts();
  for (const LogContact& contact : contacts) AppendContact(contact);
}

void CountBandQso(const QString& band) {
  const std::int32_t index = BandIndex(band);
  if (index >= 0) ++BandQsoCount[index];
}

bool BandHasGrid(std::int32_t bandIndex, const QString& entry) {
  if (bandIndex < 0 || bandIndex >= BandCount) return false;
  return BandGrids[bandIndex].Holds(entry, BandGridCount[bandIndex]);
}

WorkedGridEntry WorkedGridEntryOf(const QString& band, const QString& gridRcvd, const QString& ownGrid,
                                  std::uint8_t rover, std::uint8_t contestType) {
  const std::int32_t index = BandIndex(band);
  if (!ListsRoverGrids(rover, contestType)) return {index, gridRcvd};
  if (index == 0 || index == 1) return {index, gridRcvd + QLatin1Char(' ') + ownGrid};
  return {-1, QString()};
}

std::int32_t AddWorkedGrid(const QString& band, const QString& gridRcvd, const QString& ownGrid,
                           std::uint8_t rover, std::uint8_t contestType) {
  const WorkedGridEntry worked = WorkedGridEntryOf(band, gridRcvd, ownGrid, rover, contestType);
  if (worked.BandIndex < 0 || BandHasGrid(worked.BandIndex, worked.Entry)) return -1;
  AppendWorkedGrid(worked.BandIndex, worked.Entry);
  return worked.BandIndex;
}

void AddActivatedGrid(const QString& ownGrid) {
  if (ActivatedGrids.Holds(ownGrid, ActivatedGridCount)) return;
  AppendActivatedGrid(ownGrid);
}

void RebuildBandTallies(std::uint8_t rover, std::uint8_t contestType) {
  ClearTallies();
  for (std::int32_t slot = 1; slot <= LogCount; ++slot) {
    CountBandQso(LogBand[slot]);
    AddWorkedGrid(LogBand[slot], LogGridRcvd[slot], LogGridSent[slot], rover, contestType);
    AddActivatedGrid(LogGridSent[slot]);
  }
}

void ClearContacts() {
  for (SlotArray* column :
       {&LogCalls, &LogRstRcvd, &LogGridRcvd, &LogRstSent, &LogGridSent, &LogDate, &LogTime, &LogBand, &LogMode}) {
    column->Clear();
  }
  LogRowIds.Clear();
  LogCount = 0;
}

void ClearLogStore() {
  ClearContacts();
  ClearTallies();
}

}  // namespace logging
