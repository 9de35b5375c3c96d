#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, embedded as resources, in the resolution that
// suits the screen (a double-size copy where the device pixel ratio is above 1).
enum class Picture { banner, strip };

QPixmap picture(Picture which);

// The window icon in every size it is drawn at.
QIcon window_icon();
