#include "forms/Pictures.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

QPixmap Pictures::pixmap(const QString& name, int width, int height)
{
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1@%2x%3").arg(name).arg(width).arg(height);
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    if (renderer.isValid()) {
        QPainter p(&pm);
        renderer.render(&p);
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
            i.addPixmap(pixmap(QStringLiteral("icon"), size, size));
        return i;
    }();
    return icon;
}

QCursor Pictures::handCursor()
{
    return QCursor(pixmap(QStringLiteral("cursorHand"), 32, 32), 10, 1);
}
