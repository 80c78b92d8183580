#include "engine/PagePrinter.h"

#include "core/DownloadNames.h"
#include "core/ErrorReporter.h"
#include "dialogs/PageNotice.h"
#include "forms/BrowserControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace {
QString failure(const QString& name, const QString& reason)
{
    return DownloadNames::failure(DownloadNames::Kind::Print, name, reason);
}

void notify(PageNotice::Kind kind, const QString& text)
{
    ErrorReporter::guard([&] { PageNotice::post(kind, text); });
}
} // namespace

PagePrinter::PagePrinter(BrowserControl* browser)
    : QObject(browser)
    , m_browser(browser)
{
    connect(browser, &BrowserControl::pdfPrinted, this, &PagePrinter::finish);
}

void PagePrinter::print()
{
    if (!m_part.isEmpty())
        return;
    const QString name = DownloadNames::pdfName(m_browser->title());
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (const auto problem = DownloadNames::folderProblem(folder))
        return notify(PageNotice::Kind::PrintFailed, failure(name, *problem));
    m_name = name;
    m_part = QDir(folder).filePath(DownloadNames::partName(QDir(folder)));
    m_browser->printToPdf(m_part);
}

void PagePrinter::finish(const QString& partPath, bool success)
{
    if (m_part.isEmpty() || partPath != m_part)
        return;
    const QString name = std::exchange(m_name, {});
    m_part.clear();
    const QFileInfo part(partPath);
    if (success && part.size() > 0) {
        try {
            const QString kept =
                DownloadNames::keep(part.dir(), partPath, name, DownloadNames::Kind::Print);
            notify(PageNotice::Kind::PrintDone,
                   QStringLiteral("Página salva em PDF: %1").arg(kept));
        } catch (const QvError& e) {
            notify(PageNotice::Kind::PrintFailed, e.message());
        }
    } else {
        QFile::remove(partPath);
        notify(PageNotice::Kind::PrintFailed,
               failure(name, QStringLiteral("não foi possível gravar o arquivo")));
    }
}
