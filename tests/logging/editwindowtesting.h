#pragma once

#include "logtools/frmeditcon.h"
#include "platform/instances.h"

#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the contact-edit window, which the main window shows modally and waits on: once it is
// shown, runs whileShown and closes the window by its close box, as the operator would.
inline void CloseEditWindowOnceShown(std::function<void()> whileShown = {}) {
  QTimer::singleShot(1, [whileShown = std::move(whileShown)]() mutable {
    if (!platform::IsLoaded<logtools::frmEditCon>() || !platform::Instance<logtools::frmEditCon>().Visible()) {
      CloseEditWindowOnceShown(std::move(whileShown));
      return;
    }
    if (whileShown) whileShown();
    platform::Instance<logtools::frmEditCon>().Widget()->close();
  });
}
