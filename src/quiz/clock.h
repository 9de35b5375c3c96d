#pragma once

#include <QtGlobal>
#include <functional>

// Milliseconds on a clock that never goes back. The windows read the time
// through a Clock so that tests can drive it by hand.
using Clock = std::function<qint64()>;

Clock steady_clock();
