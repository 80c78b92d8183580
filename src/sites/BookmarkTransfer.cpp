#include "sites/BookmarkTransfer.h"

#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/QvError.h"
#include "dialogs/Form5_Msg.h"
#include "storage/BookmarkSites.h"
#include "storage/SiteStore.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

const QString kBusy = QStringLiteral("Uma importação ou exportação ainda está em andamento; "
                                     "espere o aviso dela.");

// The notice is small: a file is named without its folder.
QString quoted(const QString& path) { return u'"' + QFileInfo(path).fileName() + u'"'; }

// The user's bookmark file is the file step's business: what is wrong with it is the notice.
template <class Step>
std::optional<QString> fileProblem(Step step)
{
    try {
        step();
    } catch (const QvError& e) {
        return e.message();
    }
    return std::nullopt;
}

QString importJob(const QString& path, const QString& db)
{
    BookmarkFile::Parsed parsed;
    if (auto problem = fileProblem([&] { parsed = BookmarkFile::load(path); }))
        return *problem;
    if (parsed.links.empty())
        return QStringLiteral("%1 não tem nenhum favorito; nada foi importado.").arg(quoted(path));
    const BookmarkSites::Outcome o = SiteStore::instance().importLinks(db, parsed.links);
    QString notice = BookmarkSites::summary(o);
    if (parsed.hadInvalidText)
        notice += QStringLiteral(" Texto que não era UTF-8 virou \uFFFD.");
    return notice;
}

QString linksJob(const std::vector<BookmarkFile::Link>& links, const QString& db)
{
    const BookmarkSites::Outcome o = SiteStore::instance().importLinks(db, links);
    if (links.size() == 1 && o.imported == 1)
        return QStringLiteral("Site adicionado à lista.");
    if (links.size() == 1 && o.duplicates == 1)
        return QStringLiteral("Esse endereço já está na lista.");
    return BookmarkSites::summary(o);
}

QString exportJob(const QString& path, const QString& db)
{
    const std::vector<SiteStore::Site> sites = SiteStore::sites(db, SiteStore::Addresses::AsStored);
    if (auto problem = fileProblem(
            [&] { BookmarkFile::save(path, sites, QDateTime::currentSecsSinceEpoch()); }))
        return *problem;
    const QString count = sites.size() == 1
                              ? QStringLiteral("1 site exportado")
                              : QStringLiteral("%1 sites exportados").arg(sites.size());
    return count + QStringLiteral(" para ") + quoted(path) + u'.';
}

// text/x-moz-url: address and title on alternate lines, in UTF-16 from most programs.
std::vector<BookmarkFile::Link> mozUrls(const QByteArray& bytes)
{
    const bool wide = bytes.size() % 2 == 0 && bytes.contains('\0');
    const QString text =
        wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2)
             : QString::fromUtf8(bytes);
    const QStringList lines = text.split(u'\n');
    std::vector<BookmarkFile::Link> links;
    for (qsizetype i = 0; i < lines.size(); i += 2) {
        const QString url = lines[i].trimmed();
        if (!url.isEmpty())
            links.push_back({i + 1 < lines.size() ? lines[i + 1].trimmed() : QString(), url});
    }
    return links;
}

// An address typed or copied as text: one word with a scheme, or starting with "www.".
bool looksLikeAddress(const QString& text)
{
    if (text.isEmpty() ||
        std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }))
        return false;
    return text.contains(QLatin1String("://")) ||
           text.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
}

} // namespace

BookmarkTransfer::BookmarkTransfer(QWidget* window)
    : QObject(window)
    , m_window(window)
{
}

bool BookmarkTransfer::isBusy() const { return !m_job.isNull(); }

bool BookmarkTransfer::refuseWhileBusy()
{
    if (!isBusy())
        return false;
    showNotice(kBusy);
    return true;
}

QString BookmarkTransfer::defaultExportName()
{
    return QStringLiteral("favoritos-quorvane-%1.html")
        .arg(QDate::currentDate().toString(Qt::ISODate));
}

QString BookmarkTransfer::startFolder() const
{
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir())
        return m_lastFolder;
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(docs).isDir() ? docs : QDir::homePath();
}

void BookmarkTransfer::importWithDialog()
{
    if (refuseWhileBusy())
        return;
    QFileDialog dialog(
        m_window, QStringLiteral("Importar favoritos"), startFolder(),
        QStringLiteral("Arquivos de favoritos (*.html *.htm);;Todos os arquivos (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_lastFolder = dialog.directory().absolutePath();
    importFile(dialog.selectedFiles().constFirst());
}

void BookmarkTransfer::exportWithDialog()
{
    if (refuseWhileBusy())
        return;
    QFileDialog dialog(
        m_window, QStringLiteral("Exportar favoritos"), startFolder(),
        QStringLiteral("Arquivos de favoritos (*.html *.htm);;Todos os arquivos (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("html"));
    dialog.selectFile(defaultExportName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_lastFolder = dialog.directory().absolutePath();
    exportTo(dialog.selectedFiles().constFirst());
}

// What the window's thread tells once a job has ended: its notice, or the error that stopped it.
struct BookmarkTransfer::Ending {
    QString notice;
    QString error;
};

void BookmarkTransfer::start(std::function<QString()> job)
{
    auto ending = std::make_shared<Ending>();
    QThread* thread = QThread::create([job = std::move(job), ending] {
        // The job's one boundary: an error (the database's) goes to the window's thread.
        try {
            ending->notice = job();
        } catch (const QvError& e) {
            ending->error = e.message();
        }
    });
    m_job = thread;
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, ending] {
        m_job = nullptr;
        finish(*ending);
    });
    thread->start();
}

void BookmarkTransfer::importFile(const QString& path)
{
    if (refuseWhileBusy())
        return;
    QV_Variaveis::SetDatabasePaths();
    const QString db = QV_Variaveis::LinksDbPath;
    start([path, db] { return importJob(path, db); });
}

void BookmarkTransfer::exportTo(const QString& path)
{
    if (refuseWhileBusy())
        return;
    QV_Variaveis::SetDatabasePaths();
    const QString db = QV_Variaveis::LinksDbPath;
    start([path, db] { return exportJob(path, db); });
}

void BookmarkTransfer::take(const Carried& what)
{
    if (!what.files.isEmpty())
        return importFile(what.files.constFirst());
    if (what.links.empty())
        return showNotice(QStringLiteral("Não há um link nem um endereço para adicionar."));
    if (refuseWhileBusy())
        return;
    QV_Variaveis::SetDatabasePaths();
    const QString db = QV_Variaveis::LinksDbPath;
    start([links = what.links, db] { return linksJob(links, db); });
}

void BookmarkTransfer::finish(const Ending& ending)
{
    ErrorReporter::guard([&] {
        if (!ending.error.isEmpty())
            ErrorReporter::report(ending.error);
        else
            showNotice(ending.notice);
    });
    Q_EMIT finished();
}

BookmarkTransfer::Carried BookmarkTransfer::carried(const QMimeData& data)
{
    Carried c;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile())
            c.files << url.toLocalFile();
    }
    if (!c.files.isEmpty())
        return c;
    if (data.hasFormat(QStringLiteral("text/x-moz-url")))
        c.links = mozUrls(data.data(QStringLiteral("text/x-moz-url")));
    if (c.links.empty() && data.hasHtml())
        c.links = BookmarkFile::parse(data.html().toUtf8()).links;
    if (c.links.empty()) {
        for (const QUrl& url : data.urls())
            c.links.push_back({{}, url.toString()});
    }
    if (c.links.empty() && data.hasText() && looksLikeAddress(data.text().trimmed()))
        c.links.push_back({{}, data.text().trimmed()});
    return c;
}
