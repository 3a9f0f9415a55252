#include "logtools/appendlog.h"

#include "logging/dupecheck.h"
#include "logging/globals.h"
#include "logging/logtable.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/quotedtext.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace logtools {

namespace {

constexpr qsizetype kContactValues = 9;

QString CanonicalPath(const QString& path) { return QFileInfo(platform::NativePath(path)).canonicalFilePath(); }

// Positions of the duplicate key in a source row: call, received grid, own grid, band.
constexpr int kKeyPositions[] = {0, 2, 4, 7};

SourceContact ContactOfRow(const platform::Recordset& rows) {
  SourceContact source{{rows.Fields(0), rows.Fields(1), rows.Fields(2), rows.Fields(3), rows.Fields(4),
                        rows.Fields(5), rows.Fields(6), rows.Fields(7), rows.Fields(8)}};
  for (const int position : kKeyPositions) source.KeyMissing = source.KeyMissing || rows.IsNull(position);
  return source;
}

// One line, one contact: a short or long line would otherwise shift every later contact's values.
SourceContact ReadBackupLine(platform::QuotedTextReader& reader, const QString& path, int line) {
  const QStringList values = reader.ReadRecord();
  if (values.size() != kContactValues || reader.LastQuoteUnclosed()) {
    throw platform::RuntimeError(
        QStringLiteral("Line %1 of \"%2\" does not hold the nine values of one contact.").arg(line).arg(path));
  }
  return {{values[0], values[1], values[2], values[3], values[4], values[5], values[6], values[7], values[8]}};
}

// A line end separates values as a comma does, so a blank line holds no contact.
void AppendBackupFile(const QString& path, bool eliminateDuplicates) {
  platform::QuotedTextReader reader(path);
  for (int line = 1 + reader.SkipBlankLines(); !reader.AtEnd(); line += 1 + reader.SkipBlankLines()) {
    AppendContact(ReadBackupLine(reader, path, line), eliminateDuplicates);
  }
}

}  // namespace

bool IsLogDatabasePath(const QString& path) {
  return path.right(3).compare(QLatin1String("MDB"), Qt::CaseInsensitive) == 0;
}

bool IsLiveLogFile(const QString& path, const QString& liveLogPath) {
  const QString canonical = CanonicalPath(path);
  return !canonical.isEmpty() && canonical == CanonicalPath(liveLogPath);
}

std::vector<SourceContact> ReadLogDatabase(const QString& path) {
  platform::Connection source;
  source.Open(path);
  platform::Recordset rows;
  rows.Open(QStringLiteral("select * from tbllog"), source);
  std::vector<SourceContact> contacts;
  for (; !rows.Eof(); rows.MoveNext()) contacts.push_back(ContactOfRow(rows));
  return contacts;
}

bool LiveLogHoldsDupeOf(const logging::LogContact& contact) {
  using logging::LogRecordset;
  const auto release = qScopeGuard([] { LogRecordset.Close(); });
  logging::OpenContactsOfCall(contact.Call);
  const logging::DupeKey key = {contact.Band, contact.GridRcvd, contact.GridSent};
  const QString keyColumns[] = {QStringLiteral("calls"), QStringLiteral("uband"), QStringLiteral("gridr"),
                                 QStringLiteral("grids")};
  for (; !LogRecordset.Eof(); LogRecordset.MoveNext()) {
    if (LogRecordset.Fields(QStringLiteral("calls")).compare(contact.Call, Qt::CaseInsensitive) != 0) continue;
    if (std::any_of(std::begin(keyColumns), std::end(keyColumns),
                    [](const QString& column) { return LogRecordset.IsNull(column); })) {
      continue;
    }
    const logging::DupeKey row = {LogRecordset.Fields(QStringLiteral("uband")),
                                  LogRecordset.Fields(QStringLiteral("gridr")),
                                  LogRecordset.Fields(QStringLiteral("grids"))};
    if (logging::SameDupeKey(row, key)) return true;
  }
  return false;
}

void AppendContact(const SourceContact& source, bool eliminateDuplicates) {
  logging::DupeFound = 0;
  if (eliminateDuplicates && !source.KeyMissing && LiveLogHoldsDupeOf(source.Contact)) {
    logging::DupeFound = 1;
    return;
  }
  logging::InsertContact(source.Contact);
}

void AppendLogFile(const QString& path, bool eliminateDuplicates) {
  if (!IsLogDatabasePath(path)) {
    AppendBackupFile(path, eliminateDuplicates);
    return;
  }
  for (const SourceContact& source : ReadLogDatabase(path)) AppendContact(source, eliminateDuplicates);
}

}  // namespace logtools
