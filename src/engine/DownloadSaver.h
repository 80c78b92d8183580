#pragma once

#include "storage/PermissionStore.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <optional>

class QWebEngineDownloadRequest;
class QWebEnginePage;
class QWebEngineProfile;

// Takes every download of a profile (links the engine cannot show, "Salvar link") into the
// user's download folder. The file is written under a hidden temporary name in that folder
// and gets its final name, never one that is already taken, only when it has arrived whole.
// Each download ends with a page notice, which also tells a failure (never an error box).
//
// A download the page starts without a click or a key of the user just before goes on only
// where the user allowed it for that site: the first one is refused at once (nothing is
// written) and asked about once the engine's call has returned; the answer is remembered for
// the site. The downloads of a site that come while its question waits are held as addresses
// and asked for again after a "SIM", so that one question covers them all.
class DownloadSaver : public QObject {
    Q_OBJECT
public:
    // Takes the downloads of `profile`, which owns it. One saver per profile: the profile's
    // maker attaches it once.
    explicit DownloadSaver(QWebEngineProfile* profile);

private:
    using Decision = PermissionStore::Decision;
    struct Held {
        QPointer<QWebEnginePage> page;
        QUrl url;
    };

    void start(QWebEngineDownloadRequest* request);
    // Whether the download may go on; refuses (and holds or asks about) the others.
    bool mayStart(QWebEngineDownloadRequest* request, const QString& name);
    bool clickedJustBefore() const;
    std::optional<Decision> decisionFor(const QString& site);
    void askLater(const QString& site);
    void ask(const QString& site);
    void answer(const QString& site, Decision decision);
    void accept(QWebEngineDownloadRequest* request, const QString& name, const QString& folder);
    void finish(QWebEngineDownloadRequest* request, const QString& name);

    // The downloads under way: their ids and temporary files.
    QHash<quint32, QString> m_started;
    // The sites whose question waits, with the downloads that came for them meanwhile.
    QHash<QString, QList<Held>> m_held;
    // Decisions the configuration file could not give or keep: they hold until the program ends.
    QHash<QString, Decision> m_unsaved;
    // When the last question was answered: the answer's own click or key is no click on a page.
    QElapsedTimer m_answered;
};
