#pragma once

// Controls of a window found by their object names, as a student finds them
// by their captions: a test needs no window's insides.
#include "gui/text_lines_view.h"

#include <QTest>
#include <QtWidgets>

template <class T> T *ctl(const QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("No control %s in window %s", qPrintable(name), qPrintable(window.objectName()));
    return found;
}

template <class T> T *ctl(const QWidget &window, const char *name)
{
    return ctl<T>(window, QString::fromLatin1(name));
}

// One of a row of controls named with a number: "QChoice_3".
template <class T> T *ctl(const QWidget &window, const char *prefix, size_t number)
{
    return ctl<T>(window, QString::fromLatin1(prefix) + QString::number(number));
}
