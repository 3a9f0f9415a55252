#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QString>

#include <exception>
#include <functional>
#include <source_location>

// Traces that a fault in the field leaves behind. The program shows the operator what it always
// shows; each trapped error also goes, with where it was trapped, to its subsystem's category.
// Warnings are on by default; QT_LOGGING_RULES="corvane.*=true" shows everything.
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcLogging)
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)
Q_DECLARE_LOGGING_CATEGORY(lcLogtools)
Q_DECLARE_LOGGING_CATEGORY(lcKeying)
Q_DECLARE_LOGGING_CATEGORY(lcRig)
Q_DECLARE_LOGGING_CATEGORY(lcSpotting)

namespace platform {

// A category as Q_DECLARE_LOGGING_CATEGORY declares it: lcLogging, lcRig, ...
using TraceCategory = const QLoggingCategory& (*)();

// "Form1::mnuSetup_Click" of "void app::Form1::mnuSetup_Click()": the procedure without its
// namespace, return type and parameters.
QString ProcedureName(const std::source_location& where);
QString ProcedureNameOf(const QString& signature);

// Writes a trapped error's description (and number, for a run-time error) with its place.
void TraceError(TraceCategory category, const std::exception& error,
                const std::source_location& where = std::source_location::current());

// "On error, skip the failing step and go on": runs one step; a failure is traced and swallowed.
// Returns whether the step ran to its end.
bool SkipOnError(TraceCategory category, const std::function<void()>& step,
                 const std::source_location& where = std::source_location::current());

}  // namespace platform
