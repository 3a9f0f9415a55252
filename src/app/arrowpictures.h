#pragma once

#include <QImage>
#include <Qt>

// The grid map's shift buttons carry these pictures, drawn here so that the program needs no
// picture files.
namespace app {

// A solid arrow head pointing up, down, left or right, on a clear background.
QImage DrawArrowPicture(Qt::ArrowType direction);

}  // namespace app
