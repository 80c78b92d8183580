#pragma once

#include "dialogs/AnswerForm.h"

#include <QList>
#include <QObject>
#include <QString>

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

    // Loads the window or brings it forward.
    static PagesForm& open(PageListing& listing);
};
