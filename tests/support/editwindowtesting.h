#pragma once

#include "logtools/frmeditcon.h"

#include <functional>

#include "modalwindowtesting.h"

// Answers the contact-edit window, which the main window shows modally: once it is shown, runs
// whileShown (the operator's work in it) and, unless that closed the window already, closes it
// by its close box.
inline void CloseEditWindowOnceShown(std::function<void()> whileShown = {}) {
  OperateModalWindowOnceShown<logtools::frmEditCon>([whileShown = std::move(whileShown)](logtools::frmEditCon&) {
    if (whileShown) whileShown();
  });
}
