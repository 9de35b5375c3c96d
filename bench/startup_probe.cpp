// Linked into a start-up benchmark executable: when the first top-level
// window of the class named by PROBE_WINDOW_CLASS has been exposed (and so
// painted) on screen, prints
//     exposed <CLOCK_MONOTONIC nanoseconds> <VmHWM kB>
// on standard output and ends the process at once. It hooks in when the
// application object is constructed, so the program's own main() runs
// unchanged.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <unistd.h>

#ifndef PROBE_WINDOW_CLASS
#error "PROBE_WINDOW_CLASS names the window whose first showing ends start-up"
#endif

namespace {

long long monotonic_ns()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Peak resident set size so far, from /proc/self/status.
long peak_resident_kb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

class ExposeProbe : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Expose || reported_)
            return false;
        auto *window = qobject_cast<QWindow *>(watched);
        if (!window || !window->isExposed())
            return false;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == window && widget->inherits(PROBE_WINDOW_CLASS)) {
                reported_ = true;
                // The expose is handled (the window painted and flushed)
                // before control is back in the event loop.
                QTimer::singleShot(0, [] {
                    const long long exposed = monotonic_ns();
                    std::printf("exposed %lld %ld\n", exposed, peak_resident_kb());
                    std::fflush(stdout);
                    _exit(0);
                });
                break;
            }
        }
        return false;
    }

private:
    bool reported_ = false;
};

void install_probe()
{
    QCoreApplication::instance()->installEventFilter(new ExposeProbe(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(install_probe)
