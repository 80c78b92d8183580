#pragma once

#include "storage/BookmarkFile.h"
#include "storage/SiteStore.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QMimeData;
class QThread;
class QWidget;

// Bookmark files in and out of the saved sites, and links dropped or pasted on the list. The
// file work and the inserts run off the window's thread; the window refills when told.
class BookmarkTransfer : public QObject {
    Q_OBJECT
public:
    explicit BookmarkTransfer(QWidget* window);

    // Qt's own file dialogs ("Importar favoritos", "Exportar favoritos"), then the work.
    void importWithDialog();
    void exportWithDialog();
    void importFile(const QString& path);
    void exportTo(const QString& path);

    // What a drop or the clipboard carries: local files, or links with their texts.
    struct Carried {
        QStringList files;
        std::vector<BookmarkFile::Link> links;
        bool isEmpty() const { return files.isEmpty() && links.empty(); }
    };
    static Carried carried(const QMimeData& data);
    // A file imports (the first one, when several come); links are added as sites.
    void take(const Carried& what);

    bool isBusy() const;
    static QString defaultExportName();

    struct Result {
        QString notice;
        QString error; // a failure of the database, for the error report
        QList<qint64> ids;
        SiteStore::Listing rows; // the whole list after rows were added
    };

Q_SIGNALS:
    // Rows were added (ids in the order of the file); rows is the whole list as the listing
    // statement reads it, read off the window's thread.
    void sitesAdded(const QList<qint64>& ids, const SiteStore::Listing& rows);
    // A job's outcome has been told (its notice closed); tests wait for it.
    void finished();

private:
    bool refuseWhileBusy();
    void start(std::function<Result()> job);
    void finish(const Result& result);
    QString startFolder() const;

    QWidget* m_window;
    // The job's thread deletes itself when it ends, also when this window has gone.
    QPointer<QThread> m_job;
    QString m_lastFolder;
};
