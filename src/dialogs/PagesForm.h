#pragma once

#include "dialogs/AnswerForm.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class PageList;
class QLabel;

// What the pages window lists and does; the browser's side implements it.
class PageListing : public QObject {
    Q_OBJECT
public:
    struct Entry {
        QString title;
        QString address;
        bool shown = false;
    };
    using QObject::QObject;

    // The open pages, in the order they were opened.
    virtual QList<Entry> entries() const = 0;
    virtual void showPage(int index) = 0;
    virtual void closePage(int index) = 0;

Q_SIGNALS:
    // A page opened, closed, was shown, or changed its title or address.
    void changed();
};

// "Quorvane - Páginas": the open pages over the main window, in the order they were opened, the
// one shown marked, and their count ("3 páginas"). Up and Down (or a click) choose, Enter or a
// click shows the page chosen and closes the window, Delete closes the page chosen, Escape closes
// the window. It refills on every change of the listing.
class PagesForm : public AnswerForm {
    Q_OBJECT
public:
    explicit PagesForm(PageListing& listing);
    ~PagesForm() override;

    // Loads the window or brings it forward, the page shown chosen.
    static PagesForm& open(PageListing& listing);

protected:
    void acceptAnswer() override;

private:
    void refill();
    void showChosen();
    void closeChosen();

    // The listing may go first (its window closes): the window then closes too.
    QPointer<PageListing> m_listing;
    PageList* lstPaginas;
    QLabel* lblTotal;
};
