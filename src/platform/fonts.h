#pragma once

#include <QFont>

namespace platform {

// The face every window and its controls start with, as the windows were designed: 8.25-point
// MS Sans Serif. The first call also lets the design's face names (MS Sans Serif, Arial, Arial
// Narrow, Courier New, Times New Roman, MS Serif) stand for the installed Liberation faces of the
// same metrics, so a text fits its control as designed while FontName reads back the name set.
QFont DesignFont();

}  // namespace platform
