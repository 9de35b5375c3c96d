#include "pictures.h"

#include <QGuiApplication>

QPixmap picture(Picture which)
{
    const QString name = which == Picture::banner ? QStringLiteral("banner") : QStringLiteral("strip");
    const bool dense = qApp && qApp->devicePixelRatio() > 1.0;
    QPixmap pixmap(QStringLiteral(":/ui/pictures/%1%2.png").arg(name, dense ? QStringLiteral("@2x") : QString()));
    if (dense)
        pixmap.setDevicePixelRatio(2.0);
    return pixmap;
}

QIcon window_icon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/ui/pictures/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}
