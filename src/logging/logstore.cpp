#include "logging/logstore.h"

#include "platform/errors.h"

#include <QSet>

#include <utility>

namespace logging {

namespace {

[[noreturn]] void SubscriptOutOfRange() {
  throw platform::RuntimeError(QStringLiteral("Subscript out of range"), 9);
}

bool ContainsIgnoringCase(const SlotArray& entries, std::int32_t count, const QString& value) {
  for (std::int32_t slot = 1; slot <= count; ++slot) {
    if (entries[slot].compare(value, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

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

// Adds an entry to a set of entries told apart regardless of case; false when it was there.
bool FirstOfItsKind(QSet<QString>& seen, const QString& entry) {
  const qsizetype before = seen.size();
  seen.insert(entry.toCaseFolded());
  return seen.size() != before;
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

const QString& SlotArray::operator[](std::int32_t slot) const {
  if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) SubscriptOutOfRange();
  return slots_[slot];
}

QString& SlotArray::operator[](std::int32_t slot) {
  return const_cast<QString&>(std::as_const(*this)[slot]);
}

void SlotArray::Set(std::int32_t slot, const QString& value) {
  if (slot < 0) SubscriptOutOfRange();
  if (static_cast<std::size_t>(slot) >= slots_.size()) {
    slots_.resize(static_cast<std::size_t>(slot) + 1);
  } else {
    ++rewrites_;
  }
  slots_[slot] = value;
}

void SlotArray::Clear() {
  slots_.assign(1, QString());
  ++rewrites_;
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
          LogDate[slot],  LogTime[slot],    LogBand[slot],     LogMode[slot]};
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
  return ContainsIgnoringCase(BandGrids[bandIndex], BandGridCount[bandIndex], entry);
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
  if (ContainsIgnoringCase(ActivatedGrids, ActivatedGridCount, ownGrid)) return;
  AppendActivatedGrid(ownGrid);
}

// One pass with a set of what each list holds, rather than a search of the list per contact, so
// a large log with many grids per band rebuilds quickly.
void RebuildBandTallies(std::uint8_t rover, std::uint8_t contestType) {
  ClearTallies();
  std::array<QSet<QString>, BandCount> listed;
  QSet<QString> activated;
  for (std::int32_t slot = 1; slot <= LogCount; ++slot) {
    CountBandQso(LogBand[slot]);
    const WorkedGridEntry worked =
        WorkedGridEntryOf(LogBand[slot], LogGridRcvd[slot], LogGridSent[slot], rover, contestType);
    if (worked.BandIndex >= 0 && FirstOfItsKind(listed[worked.BandIndex], worked.Entry)) {
      AppendWorkedGrid(worked.BandIndex, worked.Entry);
    }
    if (FirstOfItsKind(activated, LogGridSent[slot])) AppendActivatedGrid(LogGridSent[slot]);
  }
}

void ClearContacts() {
  for (SlotArray* column :
       {&LogCalls, &LogRstRcvd, &LogGridRcvd, &LogRstSent, &LogGridSent, &LogDate, &LogTime, &LogBand, &LogMode}) {
    column->Clear();
  }
  LogCount = 0;
}

void ClearLogStore() {
  ClearContacts();
  ClearTallies();
}

}  // namespace logging
