#include "gui/pictures.h"

#include <QGuiApplication>
#include <QImageReader>

namespace {

// Our pictures are all PNG: reading them as such spares loading every image
// plugin to guess the format, which shows in the start-up time.
QPixmap read_png(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QPixmap picture(Picture which)
{
    const QString name = which == Picture::banner ? QStringLiteral("banner") : QStringLiteral("strip");
    const bool dense = qApp && qApp->devicePixelRatio() > 1.0;
    QPixmap pixmap = read_png(QStringLiteral(":/ui/pictures/%1%2.png").arg(name, dense ? QStringLiteral("@2x") : QString()));
    if (dense)
        pixmap.setDevicePixelRatio(2.0);
    return pixmap;
}

QIcon window_icon()
{
    // Title bars and task bars draw the icon at up to 64 pixels; larger
    // sizes would only cost start-up time.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(read_png(QStringLiteral(":/ui/pictures/icon-%1.png").arg(size)));
    return icon;
}
