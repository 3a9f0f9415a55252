#pragma once

#include <QImage>
#include <QSize>

// The logo window's built-in pictures, drawn here so that the program needs no picture files.
namespace app {

// The whole window: the program's name over a sky with a beam antenna.
QImage DrawLogoPicture(const QSize& size);
// The maker's badge the logo window shows after a moment.
QImage DrawMakerBadge(const QSize& size);

}  // namespace app
