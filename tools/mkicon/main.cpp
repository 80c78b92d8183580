// mkicon: renders the program's SVG icon into the PNG sizes of the hicolor icon theme.
//
//   mkicon <icon.svg> <out-dir> <name> <size>...
//
// Writes <out-dir>/<size>x<size>/apps/<name>.png for each size. Each PNG is written through a
// QSaveFile, so a failed run leaves no truncated picture behind.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {
int fail(const QString& message)
{
    std::fprintf(stderr, "mkicon: %s\n", qPrintable(message));
    return 1;
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc < 5)
        return fail(QStringLiteral("usage: mkicon <icon.svg> <out-dir> <name> <size>..."));
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid())
        return fail(QStringLiteral("cannot read %1").arg(QString::fromLocal8Bit(argv[1])));
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0)
            return fail(QStringLiteral("not a size: %1").arg(QString::fromLocal8Bit(argv[i])));
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        QSaveFile out(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!QDir().mkpath(dir) || !out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") ||
            !out.commit())
            return fail(
                QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
    }
    return 0;
}
