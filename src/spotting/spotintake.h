#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The spot intake's rules without the main window: which spot raises the "spotted" alert, which
// frequency is a number, and what a spot leaves in the store and in the spot list.
namespace spotting {

// The spot list never holds more rows than this; a new row at the top pushes the bottom one out.
inline constexpr int SpotListRows = 200;

// A frequency text as a number: blanks around it, a sign, digits with at most one ".", an optional
// exponent. Infinity, NaN and values beyond single precision are no number ("1e39").
std::optional<double> SpotNumber(const QString& text);

// Whether a spot names this station: the calls match in any letter case. An empty spotted call
// never matches, so short DX lines raise no alert while no own call is set.
bool IsOwnCallSpotted(const QString& spottedCall, const QString& ownCall);

// The alert's two captions: the dialog line's, and the dupe line's with the record as received.
QString SpottedDialogCaption();
QString SpottedDupeCaption(const QString& record);

// The record up to its first carriage return; the whole record when it holds none.
QString RecordBeforeCarriageReturn(const QString& record);

// The spot list's row for a spot, item text first: "Call", "Frequency" (the MHz value's shortest
// text), "QTH" and "Status" empty, "Comments", "Prefix", "Time" and "From" read from the record's
// columns. A column past the record's end is empty, one running past it takes what is there.
QStringList SpotListRow(const QString& call, double megahertz, const QString& record);

// Takes one spot as the spot input hands it on (call, frequency in kHz as text, record): a
// frequency that is no number drops it and nothing. Otherwise the spot is filed in the store as
// the newest, and the result is its spot list row, read from the record up to its first CR.
std::optional<QStringList> FileSpot(const QString& call, const QString& kilohertz, const QString& record);

}  // namespace spotting
