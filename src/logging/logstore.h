#pragma once

#include "platform/database.h"
#include "platform/modulevalues.h"

#include <QHash>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace logging {

[[noreturn]] void SubscriptOutOfRange();

// Slots numbered from 1, as every reader of the log indexes them; slot 0 stays empty.
// Writing past the end grows the array, so no number of contacts or grids is too many.
template <class Value>
class Slots {
 public:
  // Slots 0 to the highest written; any other slot is a run-time error, so a bad record number
  // can neither read nonsense nor make the store grow. Slot 0 reads as empty.
  const Value& operator[](std::int32_t slot) const {
    if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) SubscriptOutOfRange();
    return slots_[static_cast<std::size_t>(slot)];
  }
  Value& operator[](std::int32_t slot) { return const_cast<Value&>(std::as_const(*this)[slot]); }
  // Writes a slot, growing the store as far as it needs: the log has no fixed capacity.
  void Set(std::int32_t slot, const Value& value) {
    if (slot < 0) SubscriptOutOfRange();
    if (static_cast<std::size_t>(slot) >= slots_.size()) {
      slots_.resize(static_cast<std::size_t>(slot) + 1);
    } else {
      ++rewrites_;
    }
    slots_[static_cast<std::size_t>(slot)] = value;
  }
  void Clear() {
    slots_.assign(1, Value());
    ++rewrites_;
  }
  // Counts Set over a slot written before and Clear, not the growth by new slots: a reader that
  // keeps what it read of the array reads it again only when this has moved.
  std::uint64_t Rewrites() const { return rewrites_; }

 private:
  std::vector<Value> slots_ = std::vector<Value>(1);
  std::uint64_t rewrites_ = 0;
};

using SlotArray = Slots<QString>;
using RowIdSlots = Slots<std::optional<std::int64_t>>;

// Grid entries in slots, as a SlotArray holds them, with a lookup of each entry regardless of
// case kept beside them: a band's list of hundreds of grids answers whether it holds one without
// a search through it.
class GridSlots {
 public:
  const QString& operator[](std::int32_t slot) const { return slots_[slot]; }
  void Set(std::int32_t slot, const QString& entry);
  void Clear();
  // Whether one of slots 1 to count holds the entry, regardless of case.
  bool Holds(const QString& entry, std::int32_t count) const;

 private:
  SlotArray slots_;
  std::int32_t highest_ = 0;  // the highest slot written
  // Each entry, case-folded, with the first slot holding it; after a slot is written over or
  // slots are skipped, it is made again from the slots when next asked.
  mutable QHash<QString, std::int32_t> firstSlots_;
  mutable bool stale_ = false;
};

// One contact, one value per column of tbllog, and the row it was read from or stored in: a
// contact is deleted or edited by that row, so another row holding the same values stays.
struct LogContact {
  QString Call, RstRcvd, GridRcvd, RstSent, GridSent, Date, Time, Band, Mode;
  std::optional<std::int64_t> RowId = std::nullopt;
};

inline constexpr std::int32_t BandCount = 17;
inline const std::array<QString, BandCount> BandNames = {
    QStringLiteral("50 M"),  QStringLiteral("144 M"), QStringLiteral("222 M"), QStringLiteral("432 M"),
    QStringLiteral("902 M"), QStringLiteral("1.3 G"), QStringLiteral("2.3 G"), QStringLiteral("3.5 G"),
    QStringLiteral("5.8 G"), QStringLiteral("10 G"),  QStringLiteral("24 G"),  QStringLiteral("47 G"),
    QStringLiteral("75 G"),  QStringLiteral("120 G"), QStringLiteral("142 G"), QStringLiteral("241 G"),
    QStringLiteral("300 G")};

// The log database: its one connection and the one record set every query uses in turn.
inline platform::Connection LogConnection;
inline platform::Recordset LogRecordset;
inline const platform::ResetAtModuleReset LogDatabaseModuleReset{[] {
  LogRecordset.Close();
  LogConnection.Close();
}};

// The in-memory log, slots 1 to LogCount, one array per column of tbllog.
MODULE_VALUE(std::int32_t, LogCount, 0);
MODULE_VALUE(SlotArray, LogCalls);
MODULE_VALUE(SlotArray, LogRstRcvd);
MODULE_VALUE(SlotArray, LogGridRcvd);
MODULE_VALUE(SlotArray, LogRstSent);
MODULE_VALUE(SlotArray, LogGridSent);
MODULE_VALUE(SlotArray, LogDate);
MODULE_VALUE(SlotArray, LogTime);
MODULE_VALUE(SlotArray, LogBand);
MODULE_VALUE(SlotArray, LogMode);
MODULE_VALUE(RowIdSlots, LogRowIds);
// Rows of tbllog this PC last knew of; the row-count poll reloads when the table differs.
MODULE_VALUE(double, LogRowCount, 0);

// Per band index (the order of BandNames): worked grids in order of first logging (slots 1 to
// BandGridCount), and contacts logged.
using BandSlotArrays = std::array<GridSlots, BandCount>;
using BandCounts = std::array<std::int32_t, BandCount>;
MODULE_VALUE(BandSlotArrays, BandGrids);
MODULE_VALUE(BandCounts, BandGridCount);
MODULE_VALUE(BandCounts, BandQsoCount);

// Own grids from which contacts were logged, each once, in order of first use.
MODULE_VALUE(GridSlots, ActivatedGrids);
MODULE_VALUE(std::int32_t, ActivatedGridCount, 0);

// The index of a band name in BandNames regardless of case; -1 for any other text.
std::int32_t BandIndex(const QString& name);

// The contact in slot 1 to LogCount. Any other slot throws platform::RuntimeError 9.
LogContact ContactInSlot(std::int32_t slot);

// Puts a contact into slot LogCount + 1.
void AppendContact(const LogContact& contact);

// Makes these contacts the whole in-memory log, slots 1 onward; the tallies are left as they are.
void ReplaceContacts(const std::vector<LogContact>& contacts);

// Counts a contact on its band; a band outside the 17 names counts nowhere.
void CountBandQso(const QString& band);

// Whether a band's worked-grid list already holds an entry, regardless of case; false for an
// index outside the 17 bands.
bool BandHasGrid(std::int32_t bandIndex, const QString& entry);

// The worked-grid entry a contact adds, and to which band. A rover (rover 1) in contest type 5
// or above lists grids on 50 M and 144 M only, each as received grid + " " + own grid, so a grid
// counts again from every grid the rover activates; everyone else lists the received grid on
// any of the 17 bands. BandIndex is -1 when the contact adds no entry.
struct WorkedGridEntry {
  std::int32_t BandIndex;
  QString Entry;
};
WorkedGridEntry WorkedGridEntryOf(const QString& band, const QString& gridRcvd, const QString& ownGrid,
                                  std::uint8_t rover, std::uint8_t contestType);

// Appends the contact's worked-grid entry to its band unless the band already lists it.
// Returns the band index whose list grew, or -1.
std::int32_t AddWorkedGrid(const QString& band, const QString& gridRcvd, const QString& ownGrid,
                           std::uint8_t rover, std::uint8_t contestType);

// Appends an own grid to ActivatedGrids unless it is there already (regardless of case).
void AddActivatedGrid(const QString& ownGrid);

// Rebuilds the per-band counts, worked-grid lists and activated grids from contacts 1 to LogCount.
void RebuildBandTallies(std::uint8_t rover, std::uint8_t contestType);

// Empties the in-memory log (LogCount 0); the tallies and LogRowCount are left as they are.
void ClearContacts();
// Empties the in-memory log and every tally; LogRowCount is left as it is.
void ClearLogStore();

}  // namespace logging
