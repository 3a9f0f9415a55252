#pragma once

#include <QChar>
#include <QString>

namespace logging {

// What makes a contact a dupe of an earlier one with the same call: the same band, received grid
// and own grid, each regardless of case. The mode is not compared, and a rover that has moved
// (another own grid) or a station worked in another grid is no dupe.
struct DupeKey {
  QString Band, GridRcvd, GridSent;
};
bool SameDupeKey(const DupeKey& a, const DupeKey& b);

// The partial-call list: the calls of the in-memory log logged on `band` from `ownGrid` that
// begin with `typed`, regardless of case, each followed by a blank, the latest first. The scan
// runs from the oldest contact and stops as soon as the list passes 100 characters.
QString PartialCallMatches(const QString& typed, const QString& band, const QString& ownGrid);

// The longest the partial-call list grows before its scan stops.
inline constexpr qsizetype PartialCallListLimit = 100;

// The characters a call holds second or third: "/" or a digit.
bool IsCallAreaCharacter(QChar c);

}  // namespace logging
