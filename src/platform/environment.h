#pragma once

#include <QString>

namespace platform {

// A process environment variable; "" when unset. The program looks for its users' folders in
// USERPROFILE and APPDATA: where those are unset or empty, $HOME stands in for USERPROFILE and
// the XDG config folder ($XDG_CONFIG_HOME, else $HOME/.config) for APPDATA. Names are matched
// without regard to case for these two, as the program's own system does.
QString Environ(const QString& name);

// The desktop's documents folder, natively: XDG_DOCUMENTS_DIR of the user's user-dirs.dirs (in the
// XDG config folder), else $HOME/Documents. "" where the desktop has none (the entry names the
// home folder itself). The folder need not exist. Tests point $HOME and $XDG_CONFIG_HOME at
// folders of their own.
QString DesktopDocumentsFolder();

// The folder of the exchange files through which the "Ten Tec Pegasus" rig is driven, natively:
// $CORVANE_PEGASUS_DIR when set, else the program's "c:\Pegasus".
QString PegasusFolder();

}  // namespace platform
