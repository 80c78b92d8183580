#include "engine/DownloadSaver.h"

#include "core/DownloadNames.h"
#include "core/ErrorReporter.h"
#include "dialogs/Form5_Msg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

namespace {
using Reason = QWebEngineDownloadRequest::DownloadInterruptReason;

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
        notify(failure(name, reasonText(QWebEngineDownloadRequest::NetworkFailed)));
        return;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (const auto problem = DownloadNames::folderProblem(folder)) {
        request->cancel();
        notify(failure(name, *problem));
        return;
    }
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
            notify(QStringLiteral("Download concluído: %1").arg(kept));
        } catch (const QvError& e) {
            notify(e.message());
        }
    } else {
        QFile::remove(part);
        notify(failure(name, problem));
    }
    request->deleteLater();
}

void DownloadSaver::notify(const QString& text)
{
    m_notices.append(text);
    if (!m_showing)
        QTimer::singleShot(0, this, &DownloadSaver::showNotices);
}

void DownloadSaver::showNotices()
{
    // One notice at a time, each for its full three seconds, outside the engine's signals.
    if (m_showing)
        return;
    m_showing = true;
    while (!m_notices.isEmpty()) {
        const QString text = m_notices.takeFirst();
        ErrorReporter::guard([&] { showNotice(text); });
    }
    m_showing = false;
}
