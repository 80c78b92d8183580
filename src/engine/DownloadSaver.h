#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

class QWebEngineDownloadRequest;
class QWebEngineProfile;

// Takes every download of a profile (links the engine cannot show, "Salvar link") into the
// user's download folder. The file is written under a hidden temporary name in that folder
// and gets its final name, never one that is already taken, only when it has arrived whole.
// Each download ends with a notice, which also tells a failure (never an error box).
class DownloadSaver : public QObject {
    Q_OBJECT
public:
    // Takes the downloads of `profile`, which owns it. One saver per profile: the profile's
    // maker attaches it once.
    explicit DownloadSaver(QWebEngineProfile* profile);

private:
    void start(QWebEngineDownloadRequest* request);
    void finish(QWebEngineDownloadRequest* request, const QString& name);
    void notify(const QString& text);
    void showNotices();

    // The downloads under way: their ids and temporary files.
    QHash<quint32, QString> m_started;
    QStringList m_notices;
    bool m_showing = false;
};
