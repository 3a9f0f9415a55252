#pragma once

#include "platform/form.h"

#include <memory>
#include <typeindex>

namespace platform {

namespace detail {
Form* FindInstance(std::type_index type);
void AdoptInstance(std::type_index type, std::unique_ptr<Form> form);
// Called by an unloading window: the registry lets go of it and destroys it as soon as no event
// handler runs. False when the window is not one of the registry's (a window built by a test).
bool ReleaseInstance(Form* form);

// Builds a window from its design values and hands it to the registry.
template <class F>
F& AdoptNewInstance() {
  auto form = std::make_unique<F>();
  F& created = *form;
  AdoptInstance(typeid(F), std::move(form));
  return created;
}
}  // namespace detail

// The single global instance of a window: built on first use from its design values, hidden,
// with its Form_Load run. After Unload the next use builds a fresh one.
template <class F>
F& Instance() {
  if (Form* existing = detail::FindInstance(typeid(F))) return static_cast<F&>(*existing);
  F& created = detail::AdoptNewInstance<F>();
  created.Load();
  return created;
}

// Test seam: the global instance, built as Instance builds it, but without running Form_Load (the
// main window's load is the whole start-up: the set-up dialog, questions, settings files). The
// program's own calls to Instance<F>() then find this one.
template <class F>
F& InstanceWithoutLoad() {
  if (Form* existing = detail::FindInstance(typeid(F))) return static_cast<F&>(*existing);
  F& created = detail::AdoptNewInstance<F>();
  created.MarkLoadedForTesting();
  return created;
}

template <class F>
bool IsLoaded() {
  return detail::FindInstance(typeid(F)) != nullptr;
}

// Unloads the window's global instance if it is loaded; never loads it.
template <class F>
void UnloadIfLoaded() {
  if (IsLoaded<F>()) Instance<F>().Unload();
}

// A dialog window: shown modally, unloaded once the operator has closed it.
template <class F>
void ShowModalAndUnload() {
  Instance<F>().Show(Modal);
  UnloadIfLoaded<F>();
}

// Destroys every window of the registry at once, without running their unload hooks
// (tests start from nothing; the program's end tears down what is left).
void UnloadAll();

}  // namespace platform
