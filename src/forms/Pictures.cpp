#include "forms/Pictures.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

QPixmap Pictures::pixmap(const QString& name, int width, int height)
{
    // Drawn for the sharpest screen: at a scale of 2 a 16-pixel picture has 32 pixels.
    const double ratio = qApp ? std::max(1.0, qApp->devicePixelRatio()) : 1.0;
    return pixmap(name, width, height, ratio);
}

QPixmap Pictures::pixmap(const QString& name, int width, int height, double ratio)
{
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1@%2x%3@%4").arg(name).arg(width).arg(height).arg(ratio);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QPixmap pm(int(std::ceil(width * ratio)), int(std::ceil(height * ratio)));
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    if (renderer.isValid()) {
        QPainter p(&pm);
        renderer.render(&p, QRectF(0, 0, width, height));
    } else {
        qWarning("quorvane: picture %s is missing", qPrintable(name));
    }
    cache.insert(key, pm);
    return pm;
}

QIcon Pictures::applicationIcon()
{
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 24, 32, 48, 64, 96, 128, 256})
            i.addPixmap(pixmap(QStringLiteral("icon"), size, size, 1.0));
        return i;
    }();
    return icon;
}

QCursor Pictures::handCursor()
{
    return QCursor(pixmap(QStringLiteral("cursorHand"), 32, 32), 10, 1);
}
