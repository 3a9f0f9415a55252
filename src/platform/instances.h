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
}  // namespace detail

// The single global instance of a window: built on first use from its design values, hidden,
// with its Form_Load run. After Unload the next use builds a fresh one.
template <class F>
F& Instance() {
  if (Form* existing = detail::FindInstance(typeid(F))) return static_cast<F&>(*existing);
  auto form = std::make_unique<F>();
  F& created = *form;
  detail::AdoptInstance(typeid(F), std::move(form));
  created.Load();
  return created;
}

template <class F>
bool IsLoaded() {
  return detail::FindInstance(typeid(F)) != nullptr;
}

// Destroys every window of the registry at once, without running their unload hooks
// (tests start from nothing; the program's end tears down what is left).
void UnloadAll();

}  // namespace platform
