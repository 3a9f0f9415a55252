#include "app/folders.h"
#include "app/form1.h"
#include "app/globals.h"
#include "logtools/adifexport.h"
#include "logtools/exportdialogs.h"
#include "logtools/siblingexport.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/trace.h"

#include <QStringList>

#include <vector>

// The main window's menu items that hand the log to other programs: the ADIF file, the sibling
// logger's LogExp.txt and the contact list on the clipboard. The files are written from the log
// reloaded first, so they hold every station's contacts; a log that cannot be read is not
// exported, since a file short of contacts would go out as if whole.
namespace app {

namespace {

// The export's three questions; Cancel answers "" and the export goes on.
logtools::AdifAnswers AskAdifAnswers() {
  logtools::AdifAnswers answers;
  answers.Power = platform::InputBox(
      QStringLiteral("Please enter the power value that you would like to record.  This is an optional value that "
                     "will be included in each QSO record and displayed in Quellbook's power output column."),
      QStringLiteral("Please enter your transmitter output power."));
  answers.Comment = platform::InputBox(
      QStringLiteral("Please enter a comment that you would like to appear on each QSO record.  This is an optional "
                     "description that will be displayed in Quellbook's Comments column."),
      QStringLiteral("Please enter a comment."), logtools::AdifCommentDefault(ContestType));
  answers.PhoneMode = platform::InputBox(QStringLiteral("Please enter your phone mode."), QStringLiteral("Phone Mode?"),
                                         QStringLiteral("SSB"))
                          .toUpper();
  return answers;
}

QStringList ColumnHeaderTexts(const platform::ListView& list) {
  QStringList headers;
  for (int column = 1; column <= list.ColumnHeaders.Count(); ++column) headers << list.ColumnHeaders(column).Text();
  return headers;
}

// The rows in the order the list shows them: each row's own text, then its cells.
std::vector<QStringList> ListedRows(const platform::ListView& list, int columns) {
  std::vector<QStringList> rows;
  rows.reserve(static_cast<std::size_t>(list.ListItems.Count()));
  for (int index = 1; index <= list.ListItems.Count(); ++index) {
    const platform::ListItem item = list.ListItems(index);
    QStringList row = {item.Text()};
    for (int column = 1; column < columns; ++column) row << item.SubItems(column);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

void Form1::mnuExportADIF_Click() {
  if (!WorkList()) return;
  const logtools::AdifAnswers answers = AskAdifAnswers();
  QString path;
  const bool written = logtools::RunExport([&] {
    SelectProgramFolder();
    path = logtools::ChooseExportFile(cdbFile, DataFolder + QStringLiteral("\\Corvane.adi"),
                                      QStringLiteral("ADIF Files (*.adi) | *.adi"));
    SelectProgramFolder();
    logtools::WriteAdifFile(path, answers, Caption());
    SelectProgramFolder();
  });
  if (!written) return;
  platform::MsgBox(QStringLiteral("The file was successfully written to the directory:") + logtools::kLineBreak +
                       logtools::kLineBreak + path + QStringLiteral("."),
                   platform::MsgBoxStyle::OKOnly, QStringLiteral("File Written Successfully."));
}

void Form1::mnuQuellbookExport_Click() {
  if (!WorkList()) return;
  const bool written = logtools::RunExport([] {
    SelectProgramFolder();
    logtools::WriteSiblingLoggerFile(QStringLiteral("LogExp.txt"), ContestType);
  });
  if (!written) return;
  platform::Beep();
  platform::MsgBox(
      QStringLiteral("LogExp.txt has been written to this program's working directory ") + ProgramDir +
          QStringLiteral(".  Import these contacts into the Quellbook program by clicking File, Import, and navigating "
                         "to this directory from the Quellbook program.  This function was designed for Quellbook "
                         "versions 1.9 and earlier.  To put the grid square in the proper field of Quellbook 2X, use "
                         "the ADIF file transfer."),
      platform::MsgBoxStyle::OKOnly, QStringLiteral("Export Successful!"));
}

// The list as shown: whichever contacts it lists, in its order. The clipboard is cleared first,
// so a copy that fails leaves it empty.
void Form1::mnuCopyListtoClipboard_Click() {
  try {
    platform::Clipboard::Clear();
    const QStringList headers = ColumnHeaderTexts(ListView1);
    const std::vector<QStringList> rows = ListedRows(ListView1, static_cast<int>(headers.size()));
    platform::Clipboard::SetText(logtools::ContactListClipboardText(headers, rows));
  } catch (const platform::RuntimeError& error) {
    platform::TraceError(lcLogtools, error);
  }
}

}  // namespace app
