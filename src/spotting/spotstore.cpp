#include "spotting/spotstore.h"

#include "platform/clock.h"
#include "platform/numbertext.h"
#include "spotting/globals.h"

#include <algorithm>

namespace spotting {

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Moves slots 1 to 49 of one array down to 0 to 48; slot 49 is then free for the newest.
template <typename SlotArray>
void ShiftDown(SlotArray& store) {
  std::move(store.begin() + 1, store.begin() + StoredSpots, store.begin());
}

void ClearEarlierSpotOfSameCall() {
  const QString& call = DXSpotCall[NewestSpotSlot];
  for (int slot = NewestSpotSlot - 1; slot >= 1; --slot) {
    if (DXSpotCall[slot].compare(call, Qt::CaseInsensitive) == 0) {
      DXSpotFreq[slot] = 0;
      return;
    }
  }
}

}  // namespace

QString CallPrefix(const QString& call) {
  const qsizetype length = call.size();
  if (length < 3) return QString();
  const qsizetype slash = call.lastIndexOf(u'/') + 1;  // positions count from 1, 0 is none
  qsizetype lastDigit = 0;
  for (qsizetype i = length; i >= 1 && lastDigit == 0; --i) {
    if (IsDigit(call[i - 1])) lastDigit = i;
  }
  const qsizetype end = lastDigit > 0 ? lastDigit : length;
  if (slash == 0) return call.left(end);
  if (slash < length / 2.0 + 1) return call.left(slash - 1);
  const QString suffix = call.mid(slash, end);
  if (!platform::DecimalOfText(suffix).has_value()) return suffix;
  qsizetype firstDigit = 0;
  while (firstDigit < length && !IsDigit(call[firstDigit])) ++firstDigit;
  return call.left(firstDigit) + suffix;
}

void StoreSpot(const QString& call, double megahertz) {
  // A slot's prefix is its call's, so it moves with the call rather than being derived again.
  ShiftDown(DXSpotCall);
  ShiftDown(DXSpotFreq);
  ShiftDown(DXSpotTime);
  ShiftDown(DXSpotPrefix);
  DXSpotCall[NewestSpotSlot] = call;
  DXSpotFreq[NewestSpotSlot] = megahertz;
  DXSpotTime[NewestSpotSlot] = platform::Now();
  DXSpotPrefix[NewestSpotSlot] = CallPrefix(call);
  ClearEarlierSpotOfSameCall();
}

bool IsSpotSlot(int index) { return index >= 0 && index < StoredSpots; }

void RemoveSpot(int slot) {
  if (IsSpotSlot(slot)) DXSpotFreq[slot] = 0;
}

}  // namespace spotting
