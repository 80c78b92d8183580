#pragma once

#include <QString>
#include <QStringList>

// Where the databases live. The installation folder's BD/ when the user can write it (the build
// folder, a copy in the user's home); otherwise a per-user folder, $XDG_DATA_HOME/quorvane/BD/,
// seeded once from the shipped files. The choice is made once at start-up; the database path
// variables follow it.
class DataFolder {
public:
    // The two database files every data folder holds.
    static const QStringList& databaseNames();

    // Chooses the folder for the installation folder's BD/ (`shipped`, with a trailing
    // separator) and makes it the one the database paths use. Throws QvError naming the folder
    // or file when the per-user folder cannot be made or seeded.
    static QString choose(const QString& shipped);

    // The per-user folder under `dataHome`, created when missing; each database missing there
    // is copied from `shipped` under a temporary name and renamed into place, so that a file
    // that exists is never overwritten and a failed copy never leaves half a database.
    static QString seedPerUser(const QString& shipped, const QString& dataHome);

    // $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
    static QString dataHome();

    // True when the user can write the folder and every database already in it.
    static bool writable(const QString& folder);
};
