#pragma once

#include "logtools/frmeditcon.h"
#include "platform/instances.h"

#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the contact-edit window, which the main window shows modally and waits on: once it is
// shown, runs whileShown (the operator's work in it) and, unless that closed the window already,
// closes it by its close box, as the operator would.
inline void CloseEditWindowOnceShown(std::function<void()> whileShown = {}) {
  const auto shown = [] {
    return platform::IsLoaded<logtools::frmEditCon>() && platform::Instance<logtools::frmEditCon>().Visible();
  };
  QTimer::singleShot(1, [whileShown = std::move(whileShown), shown]() mutable {
    if (!shown()) {
      CloseEditWindowOnceShown(std::move(whileShown));
      return;
    }
    if (whileShown) whileShown();
    if (shown()) platform::Instance<logtools::frmEditCon>().Widget()->close();
  });
}
