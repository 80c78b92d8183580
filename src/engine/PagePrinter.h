#pragma once

#include <QObject>
#include <QString>

class BrowserControl;

// Prints the page a browser control shows to a PDF in the user's download folder, named after
// its title. As with downloads, the file is written under a hidden temporary name in that
// folder and gets its final name, never one that is already taken, only when it is whole; a
// notice names the file either way. One print at a time.
class PagePrinter : public QObject {
    Q_OBJECT
public:
    explicit PagePrinter(BrowserControl* browser);

    void print();

private:
    void finish(const QString& partPath, bool success);

    BrowserControl* m_browser;
    // While a print is under way: its temporary file and its final name.
    QString m_part;
    QString m_name;
};
