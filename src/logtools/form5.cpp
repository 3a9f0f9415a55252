#include "logtools/form5.h"

#include "app/folders.h"
#include "app/modformresize.h"
#include "platform/design.h"
#include "platform/paths.h"
#include "platform/trace.h"

namespace logtools {

Form5::Form5() : Form(QStringLiteral("Form5")) {
  SetCaption(QStringLiteral("Help Page"));
  SetBorderStyle(platform::BorderFixedSingle);
  // Designed by its client area.
  Move(0, 0, 8400 + 2 * BorderTwips, 6360 + CaptionTwips + BorderTwips);
  Text1.Move(120, 120, 8160, 5580);
  Text1.SetAccessibleName(QStringLiteral("Help"));
  platform::DesignCaption(Command1, QStringLiteral("Close"), 3660, 5850, 1080, 375);
  WIRE(Command1, Click);
}

// A help file that is missing or cannot be read leaves the box empty, without a word: the window
// is only a reader.
void Form5::Form_Load() {
  platform::SkipOnError(lcLogtools, [this] {
    app::ModFormResize::FitToScreen(*this, app::ModFormResize::ScreenPlacement::Centred);
    Text1.SetText(QString());
    app::SelectProgramFolder();
    Text1.SetText(QString::fromLatin1(platform::ReadRegularFile(platform::NativePath(HelpFileName),
                                                                platform::MaxTextFileBytes)));
  });
}

// The menu that showed the window unloads it.
void Form5::Command1_Click() { Hide(); }

}  // namespace logtools
