// The cost of refilling the contact list from a full in-memory log, as a reload or a change of
// view does: the last 20 contacts, every contact, and the current band's contacts among all of
// them; and of the repaint of its visible rows that follows each refill on screen.

#include "benchsupport.h"

#include "app/form1.h"
#include "app/globals.h"
#include "logging/contactlist.h"
#include "logging/globals.h"
#include "logging/logstore.h"
#include "logging/reload.h"
#include "platform/instances.h"
#include "platform/keys.h"

#include <QTableView>
#include <benchmark/benchmark.h>

namespace {

// Arguments: contacts in the log; 1 to list all of them, 0 for the last 20; 1 for the current
// band only (half of the log), 0 for all bands.
void BM_ListContacts(benchmark::State& state) {
  logging::LogConnection.Open(LogFileWith(static_cast<int>(state.range(0))).Path());
  logging::ReloadLogStore(app::Rover, app::ContestType);
  logging::LogConnection.Close();
  logging::CurrentBand = QStringLiteral("144 M");
  logging::ListAllContacts = static_cast<std::uint8_t>(state.range(1));
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  logging::CreateContactListColumns(form);
  form.cmdList.SetCaption(state.range(1) == 1 ? QStringLiteral("All") : QStringLiteral("Last 20"));
  form.Command3.SetCaption(state.range(2) == 1 ? QStringLiteral("Current Band") : QStringLiteral("All Bands"));
  form.Show();
  for (auto _ : state) form.ListContacts();
  state.counters["rows_listed"] = form.ListView1.ListItems.Count();
  logging::ListAllContacts = 0;
  logging::ClearLogStore();
  platform::UnloadAll();
}
BENCHMARK(BM_ListContacts)
    ->Args({14000, 0, 0})
    ->Args({14000, 1, 0})
    ->Args({14000, 0, 1})
    ->Args({14000, 1, 1})
    ->Unit(benchmark::kMillisecond);

void BM_RepaintList(benchmark::State& state) {
  logging::LogConnection.Open(LogFileWith(14000).Path());
  logging::ReloadLogStore(app::Rover, app::ContestType);
  logging::LogConnection.Close();
  app::Form1& form = platform::InstanceWithoutLoad<app::Form1>();
  logging::CreateContactListColumns(form);
  form.Show();
  form.ListContacts();
  platform::DoEvents();
  for (auto _ : state) {
    form.ListView1.View()->viewport()->update();
    platform::DoEvents();
  }
  logging::ClearLogStore();
  platform::UnloadAll();
}
BENCHMARK(BM_RepaintList)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
