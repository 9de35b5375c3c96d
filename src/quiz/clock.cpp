#include "quiz/clock.h"

#include <QElapsedTimer>
#include <memory>

Clock steady_clock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}
