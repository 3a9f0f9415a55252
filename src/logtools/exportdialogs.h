#pragma once

#include <QString>

#include <functional>
#include <source_location>

namespace platform {
class CommonDialog;
}

// What the main window's exports and Form2 share around the file writers: the save dialog, and
// how an export that fails or is cancelled ends.
namespace logtools {

// Breaks a line in the texts of the exports' message boxes.
inline const QString kLineBreak = QStringLiteral("\r\n");

// Asks for the file to write with the main window's save dialog: it opens on initialFileName (a
// full path as the program writes it) with the one filter selected, and asks before an existing
// file is replaced. Returns the chosen path; throws platform::RuntimeError CancelSelectedError
// when the operator cancels.
QString ChooseExportFile(platform::CommonDialog& dialog, const QString& initialFileName, const QString& filter);

// Runs the steps of an export up to its file being written; true when they all ran. A cancelled
// save dialog ends the export silently; any other failure beeps and shows its description titled
// "Unable to write file.", traced as the caller's. Either way the program folder is made current
// again.
bool RunExport(const std::function<void()>& steps, const std::source_location& where = std::source_location::current());

}  // namespace logtools
