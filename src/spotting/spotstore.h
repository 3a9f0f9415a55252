#pragma once

#include <QString>

// The rules of the spot store (globals.h): how a spot is filed, removed and labelled.
namespace spotting {

// Slots 0 to 49 hold spots, slot 49 the newest.
inline constexpr int StoredSpots = 50;
inline constexpr int NewestSpotSlot = StoredSpots - 1;

// The short form of a call that the band maps show: where the station is. A plain call up to and
// including its last digit (Q1XYZ -> Q1, QXYZ -> QXYZ); with a "/" in the first half the text
// before it (QQ/Q1XYZ -> QQ), otherwise the text after it, at most as long as the call's part up
// to its last digit (Q1XYZ/QRPP -> QR), a number there replacing the call's own (Q1XYZ/7 -> Q7).
// Empty for a call under 3 characters.
QString CallPrefix(const QString& call);

// Files a spot as the newest, stamped with the clock's local time: every slot moves down one,
// slot 0's spot is dropped, and the most recent earlier spot of the same call (any letter case,
// slots 48 down to 1) loses its frequency, so only the newest of a call is drawn.
void StoreSpot(const QString& call, double megahertz);

// Whether an index (a spot label's, from the mouse) names a slot of the store.
bool IsSpotSlot(int index);

// Takes a spot off both band maps by clearing its frequency; an index outside the store does
// nothing.
void RemoveSpot(int slot);

}  // namespace spotting
