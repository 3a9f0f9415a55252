#include "platform/instances.h"

#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

struct Entry {
  std::type_index type;
  std::unique_ptr<Form> form;
};

// Never destroyed with the statics: an exit() from anywhere (a library that lost the display)
// would tear the windows down after parts of Qt have gone. They go with the application object.
std::vector<Entry>& Loaded() {
  static auto& loaded = *new std::vector<Entry>;
  return loaded;
}

// Unloaded windows wait here until no event handler of any window is running.
std::vector<std::unique_ptr<Form>>& Graveyard() {
  static auto& graveyard = *new std::vector<std::unique_ptr<Form>>;
  return graveyard;
}

void Bury(std::unique_ptr<Form> form) {
  detail::RunHandler([&] { form->Form_Terminate(); });
  detail::RetireForm(form.get());
}

void PurgeGraveyard() {
  // Terminate hooks may unload further windows, which join the graveyard behind these.
  while (!Graveyard().empty()) {
    std::unique_ptr<Form> form = std::move(Graveyard().front());
    Graveyard().erase(Graveyard().begin());
    Bury(std::move(form));
  }
}

// Widgets must go while the application object still exists.
void DestroyAllAtExit() { UnloadAll(); }

void EnsureCleanupAtExit() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  qAddPostRoutine(&DestroyAllAtExit);
}

}  // namespace

namespace detail {

Form* FindInstance(std::type_index type) {
  for (const Entry& entry : Loaded()) {
    if (entry.type == type) return entry.form.get();
  }
  return nullptr;
}

void AdoptInstance(std::type_index type, std::unique_ptr<Form> form) {
  EnsureCleanupAtExit();
  Loaded().push_back({type, std::move(form)});
}

bool ReleaseInstance(Form* form) {
  auto& loaded = Loaded();
  auto found = std::find_if(loaded.begin(), loaded.end(), [form](const Entry& e) { return e.form.get() == form; });
  if (found == loaded.end()) return false;
  Graveyard().push_back(std::move(found->form));
  loaded.erase(found);
  WhenHandlersIdle(qApp, &PurgeGraveyard);
  return true;
}

}  // namespace detail

void UnloadAll() {
  std::vector<std::unique_ptr<Form>> doomed;
  for (Entry& entry : Loaded()) doomed.push_back(std::move(entry.form));
  Loaded().clear();
  for (auto& form : Graveyard()) doomed.push_back(std::move(form));
  Graveyard().clear();
  for (auto& form : doomed) detail::RetireForm(form.get());
}

}  // namespace platform
