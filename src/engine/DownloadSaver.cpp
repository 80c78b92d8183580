#include "engine/DownloadSaver.h"

#include "core/DownloadNames.h"
#include "core/ErrorReporter.h"
#include "dialogs/PageNotice.h"
#include "dialogs/QuestionForm.h"
#include "engine/NavigationPolicy.h"
#include "forms/Forms.h"
#include "storage/PermissionStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {
using Reason = QWebEngineDownloadRequest::DownloadInterruptReason;
using Kind = PageNotice::Kind;

// As long as a click counts as the user's for a navigation.
constexpr qint64 kAnswerMs = 1000;

QString reasonText(Reason reason)
{
    if (reason == QWebEngineDownloadRequest::FileNoSpace)
        return QStringLiteral("não há espaço livre no disco");
    if (reason < QWebEngineDownloadRequest::NetworkFailed)
        return QStringLiteral("não foi possível gravar o arquivo");
    if (reason < QWebEngineDownloadRequest::ServerFailed)
        return QStringLiteral("a conexão foi interrompida antes do fim");
    if (reason < QWebEngineDownloadRequest::UserCanceled)
        return QStringLiteral("o servidor recusou o envio");
    return QStringLiteral("o download foi cancelado");
}

QString failure(const QString& name, const QString& reason)
{
    return DownloadNames::failure(DownloadNames::Kind::Download, name, reason);
}

void notify(Kind kind, const QString& text)
{
    ErrorReporter::guard([&] { PageNotice::post(kind, text); });
}

// The site a download is asked for in: the page the user sees, or the download's own address
// when no page holds it.
QUrl siteUrl(const QWebEngineDownloadRequest* request)
{
    const QUrl url = request->page() ? request->page()->url() : request->url();
    return url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                        QUrl::RemoveFragment);
}

QString shownSite(const QString& site)
{
    const QUrl url(site);
    return url.host().isEmpty() ? site : url.authority();
}
} // namespace

DownloadSaver::DownloadSaver(QWebEngineProfile* profile)
    : QObject(profile)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this, &DownloadSaver::start);
}

void DownloadSaver::start(QWebEngineDownloadRequest* request)
{
    const QString name = DownloadNames::safeName(request->suggestedFileName());
    if (m_started.contains(request->id())) {
        // The engine retries a download whose connection broke off, again and again; the
        // user hears of the break at once instead, and nothing is kept.
        request->cancel();
        QFile::remove(m_started.take(request->id()));
        notify(Kind::DownloadFailed,
               failure(name, reasonText(QWebEngineDownloadRequest::NetworkFailed)));
        return;
    }
    if (!mayStart(request, name))
        return request->cancel();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (const auto problem = DownloadNames::folderProblem(folder)) {
        request->cancel();
        notify(Kind::DownloadFailed, failure(name, *problem));
        return;
    }
    accept(request, name, folder);
}

bool DownloadSaver::mayStart(QWebEngineDownloadRequest* request, const QString& name)
{
    const QString site = siteUrl(request).toString();
    if (auto held = m_held.find(site); held != m_held.end()) {
        held->append({request->page(), request->url()});
        return false;
    }
    if (clickedJustBefore())
        return true;
    if (const std::optional<Decision> known = decisionFor(site)) {
        if (*known == Decision::Allow)
            return true;
        notify(Kind::DownloadRefused,
               QStringLiteral("Download bloqueado: %1 (o site %2 não pode baixar sem um clique)")
                   .arg(name, shownSite(site)));
        return false;
    }
    m_held.insert(site, {{request->page(), request->url()}});
    askLater(site);
    return false;
}

bool DownloadSaver::clickedJustBefore() const
{
    return NavigationPolicy::recentUserAction() == NavigationPolicy::UserAction::Recent &&
           !(m_answered.isValid() && m_answered.elapsed() < kAnswerMs);
}

std::optional<PermissionStore::Decision> DownloadSaver::decisionFor(const QString& site)
{
    if (const auto unsaved = m_unsaved.constFind(site); unsaved != m_unsaved.constEnd())
        return *unsaved;
    try {
        return PermissionStore::decision(site, QString::fromUtf16(PermissionStore::kDownloads));
    } catch (const QvError& e) {
        // Nothing is allowed on a decision that cannot be read; the message waits until the
        // engine's call has returned.
        m_unsaved.insert(site, Decision::Deny);
        QTimer::singleShot(0, this, [message = e.message()] { ErrorReporter::report(message); });
        return Decision::Deny;
    }
}

void DownloadSaver::askLater(const QString& site)
{
    // Asked once the engine's call has returned: the engine must not wait on a window. Another
    // question on show is answered first.
    QTimer::singleShot(0, this, [this, site] {
        if (BaseForm* other = Forms::ifLoaded<QuestionForm>()) {
            connect(
                other, &BaseForm::unloaded, this, [this, site] { askLater(site); },
                Qt::SingleShotConnection);
            return;
        }
        ErrorReporter::guard([&] { ask(site); });
    });
}

void DownloadSaver::ask(const QString& site)
{
    const bool yes = QuestionForm::ask(
        QStringLiteral("Este site quer baixar arquivos sem que você clique. Permitir?"),
        shownSite(site));
    m_answered.start();
    answer(site, yes ? Decision::Allow : Decision::Deny);
}

void DownloadSaver::answer(const QString& site, Decision decision)
{
    const QList<Held> held = m_held.take(site);
    m_unsaved.insert(site, decision);
    if (decision == Decision::Allow) {
        for (const Held& h : held) {
            if (h.page)
                h.page->download(h.url);
        }
    }
    PermissionStore::remember(site, QString::fromUtf16(PermissionStore::kDownloads), decision);
    m_unsaved.remove(site);
}

void DownloadSaver::accept(QWebEngineDownloadRequest* request, const QString& name,
                           const QString& folder)
{
    const QString part = DownloadNames::partName(QDir(folder));
    m_started.insert(request->id(), QDir(folder).filePath(part));
    request->setDownloadDirectory(folder);
    request->setDownloadFileName(part);
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this,
            [this, request, name] { finish(request, name); });
    request->accept();
}

void DownloadSaver::finish(QWebEngineDownloadRequest* request, const QString& name)
{
    if (!request->isFinished() || !m_started.contains(request->id()))
        return;
    m_started.remove(request->id());
    const QString folder = request->downloadDirectory();
    const QString part = QDir(folder).filePath(request->downloadFileName());
    const qint64 size = QFileInfo(part).size();
    QString problem;
    if (request->state() != QWebEngineDownloadRequest::DownloadCompleted)
        problem = reasonText(request->interruptReason());
    else if (size == 0)
        problem = QStringLiteral("o servidor não enviou nenhum dado");
    else if (request->totalBytes() > 0 && size != request->totalBytes())
        problem = QStringLiteral("o arquivo chegou incompleto");
    if (problem.isEmpty()) {
        try {
            const QString kept =
                DownloadNames::keep(QDir(folder), part, name, DownloadNames::Kind::Download);
            notify(Kind::DownloadDone, QStringLiteral("Download concluído: %1").arg(kept));
        } catch (const QvError& e) {
            notify(Kind::DownloadFailed, e.message());
        }
    } else {
        QFile::remove(part);
        notify(Kind::DownloadFailed, failure(name, problem));
    }
    request->deleteLater();
}
