#pragma once

#include <QAnyStringView>
#include <QObject>
#include <QWidget>

// A part of a window (a control of its layout, a timer, a widget it adds) by its name and type,
// for tests that look inside a window. A part that is missing, or of another type, ends the
// test run at once, naming the window and the part: no test goes on without it.
template <class T = QWidget>
T* part(const QWidget& window, QAnyStringView name)
{
    const QString n = name.toString();
    auto* found = window.findChild<T*>(n, Qt::FindDirectChildrenOnly);
    if (!found)
        qFatal("window %s has no part %s of type %s", qPrintable(window.objectName()),
               qPrintable(n), T::staticMetaObject.className());
    return found;
}

template <class T = QWidget>
T* part(const QWidget* window, QAnyStringView name)
{
    return part<T>(*window, name);
}
