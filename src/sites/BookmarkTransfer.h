#pragma once

#include "storage/BookmarkFile.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QMimeData;
class QThread;
class QWidget;

// Bookmark files in and out of the saved sites, and links dropped or pasted on the list. The
// file work and the inserts run off the window's thread, one job at a time; the list refills
// from the site store's announcement. A job ends in one notice: what it did, or what is wrong
// with the user's file (the file step's QvError, taken as the notice's text). Any other error
// stops the job at its top and is carried to the window's thread for the error report.
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

Q_SIGNALS:
    // A job's outcome has been told (its notice closed); tests wait for it.
    void finished();

private:
    struct Ending;
    bool refuseWhileBusy();
    // Runs the job on a thread of its own; it returns its notice.
    void start(std::function<QString()> job);
    void finish(const Ending& ending);
    QString startFolder() const;

    QWidget* m_window;
    // The job's thread deletes itself when it ends, also when this window has gone.
    QPointer<QThread> m_job;
    QString m_lastFolder;
};
