// mkpdf: renders a Markdown read-me into an A4 PDF document, at build time.
//
//   mkpdf <input.md> <output.pdf>
//
// The PDF's title is the document's first level-one heading. The output is
// written through a QSaveFile, so a failed run leaves no truncated PDF behind.
// The same input gives the same bytes; SOURCE_DATE_EPOCH, when set, is the
// document's creation date.
// Needs no display: unless QT_QPA_PLATFORM says otherwise, it runs offscreen.

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QHashFunctions>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimeZone>

#include <cstdio>
#include <ctime>

namespace {

constexpr qreal marginMm = 20.0;
constexpr int bodyPointSize = 11;
const char* const fontFamily = "Liberation Sans";
const char* const fixedFontFamily = "Liberation Mono";
const QColor headingColour(0x00, 0x6B, 0x7A); // the product's teal, dark enough for paper
const QColor footerColour(0x6D, 0x6D, 0x6D);

int fail(const QString& message)
{
    std::fprintf(stderr, "mkpdf: %s\n", qPrintable(message));
    return 1;
}

QString firstHeading(const QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 1)
            return block.text().trimmed();
    }
    return {};
}

void styleDocument(QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        QTextCursor cursor(block);
        if (level > 0) {
            QTextBlockFormat spacing = block.blockFormat();
            spacing.setTopMargin(level == 1 ? 0 : 14);
            spacing.setBottomMargin(level == 1 ? 12 : 6);
            cursor.setBlockFormat(spacing);
            cursor.select(QTextCursor::BlockUnderCursor);
            QTextCharFormat colour;
            colour.setForeground(headingColour);
            cursor.mergeCharFormat(colour);
        } else if (!block.textList() && !cursor.currentTable()) {
            QTextBlockFormat spacing = block.blockFormat();
            spacing.setBottomMargin(6);
            cursor.setBlockFormat(spacing);
        }
    }

    // Code spans and file names: the monospaced face of the same family.
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().fontFixedPitch())
                continue;
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            QTextCharFormat fixed;
            fixed.setFontFamilies({QString::fromLatin1(fixedFontFamily)});
            cursor.mergeCharFormat(fixed);
        }
    }

    for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setBorder(1);
            format.setBorderBrush(QColor(0x99, 0x99, 0x99));
            format.setBorderCollapse(true);
            format.setCellPadding(4);
            format.setCellSpacing(0);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(format);
        }
    }
}

// Lays the text out in the writer's own units, one page at a time, keeping a strip at the
// bottom of each page for its number. Returns false when the writer fails.
bool renderPages(QTextDocument& doc, QPdfWriter& writer, const QString& title)
{
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDocumentMargin(0);
    const qreal pageWidth = writer.width();
    const qreal footerHeight = writer.logicalDpiY() * 10.0 / 25.4; // 10 mm
    const qreal bodyHeight = writer.height() - footerHeight;
    doc.setPageSize(QSizeF(pageWidth, bodyHeight));
    const int pageCount = doc.pageCount();

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    QFont footerFont(QString::fromLatin1(fontFamily), 9);
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0 && !writer.newPage()) {
            painter.end();
            return false;
        }
        const QRectF slice(0, page * bodyHeight, pageWidth, bodyHeight);
        painter.save();
        painter.setClipRect(QRectF(0, 0, pageWidth, bodyHeight));
        painter.translate(0, -slice.top());
        doc.drawContents(&painter, slice);
        painter.restore();

        painter.setFont(footerFont);
        painter.setPen(footerColour);
        painter.drawText(QRectF(0, bodyHeight, pageWidth, footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("%1  ·  %2 / %3").arg(title).arg(page + 1).arg(pageCount));
    }
    return painter.end();
}

// The writer dates the document with the current time, in UTC (main sets TZ). A reproducible
// build gives SOURCE_DATE_EPOCH: that date goes in its place, at the same length, so that the
// cross-reference offsets stay right. Returns false when the date is not where it should be.
bool stampCreationDate(QByteArray& pdf)
{
    bool valid = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&valid);
    if (!valid)
        return true;
    const QByteArray key("/CreationDate (D:");
    const qsizetype at = pdf.indexOf(key);
    const QByteArray date = QDateTime::fromSecsSinceEpoch(epoch, QTimeZone::utc())
                                .toString("yyyyMMddHHmmss")
                                .toLatin1();
    const qsizetype end = at + key.size() + date.size();
    if (at < 0 || pdf.indexOf(key, at + 1) >= 0 || pdf.mid(end, 2) != "Z)")
        return false;
    pdf.replace(at + key.size(), date.size(), date);
    return true;
}

QString readMarkdown(const QString& path, QString& error)
{
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, input.errorString());
        return {};
    }
    const QString markdown = QString::fromUtf8(input.readAll());
    if (input.error() != QFileDevice::NoError)
        error = QStringLiteral("cannot read %1: %2").arg(path, input.errorString());
    return markdown;
}

bool savePdf(const QString& path, const QByteArray& pdf, QString& error)
{
    const QString outputDir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(outputDir)) {
        error = QStringLiteral("cannot create folder %1 for %2").arg(outputDir, path);
        return false;
    }
    QSaveFile output(path);
    if (!output.open(QIODevice::WriteOnly) || output.write(pdf) != pdf.size() || !output.commit()) {
        error = QStringLiteral("cannot write %1: %2").arg(path, output.errorString());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The same input gives the same bytes: fonts are written in the order of a hash table, so
    // its seed is fixed, and the document's date is in UTC whatever the build machine's zone.
    QHashSeed::setDeterministicGlobalSeed();
    qputenv("TZ", "UTC");
    tzset();
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkpdf <input.md> <output.pdf>\n");
        return 2;
    }
    const QString inputPath = QFile::decodeName(argv[1]);
    const QString outputPath = QFile::decodeName(argv[2]);

    QString error;
    const QString markdown = readMarkdown(inputPath, error);
    if (!error.isEmpty())
        return fail(error);
    QTextDocument doc;
    doc.setDefaultFont(QFont(QString::fromLatin1(fontFamily), bodyPointSize));
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    if (doc.isEmpty())
        return fail(QStringLiteral("%1 has no text").arg(inputPath));
    QString title = firstHeading(doc);
    if (title.isEmpty())
        return fail(QStringLiteral("%1 has no first-level heading for the title").arg(inputPath));
    doc.setMetaInformation(QTextDocument::DocumentTitle, title);
    styleDocument(doc);

    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Maravel Quorvane"));
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(marginMm, marginMm, marginMm, marginMm),
                                         QPageLayout::Millimeter));
        if (!renderPages(doc, writer, title))
            return fail(QStringLiteral("cannot draw %1").arg(outputPath));
    }
    if (!stampCreationDate(pdf))
        return fail(QStringLiteral("no creation date to set in %1").arg(outputPath));
    if (!savePdf(outputPath, pdf, error))
        return fail(error);
    return 0;
}
