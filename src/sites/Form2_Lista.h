#pragma once

#include "chrome/SecondaryForm.h"
#include "dialogs/Form6_Del.h"
#include "storage/SiteStore.h"

class BookmarkTransfer;
class ImageControl;
class LabelControl;
class ListBox;
class QCheckBox;
class QLabel;
class QLineEdit;

// The administration window of the saved sites: the list, the current item's title and
// address, opening a site in the main window or outside, and the editing actions.
class Form2_Lista : public SecondaryForm, public DeletionRequester {
    Q_OBJECT
public:
    Form2_Lista();

    void Form_Load() override;

    void lstSites_Click();
    void lstSites_DblClick() { OpenSelectedSite(); }
    void OpenSelectedSite();
    void TimerShowForm_Timer();
    void btnOpenText_Click();

    void btnInsert_Click();
    void btnUpdate_Click();
    void btnMakeHome_Click();
    void btnPosition_Click();
    void lblPosition_Click() { btnPosition_Click(); }
    void CheckMinimize_Click();
    void btnDelete_Click();

    // lblTituloHome: the home page's title as the main window knows it.
    void showHomeTitle(const QString& title);

    // Clears the list and fills it from the site store's listing, in title order; returns the
    // number of rows. The stored titles are shown as they are, with the ids beside them.
    int refillList();
    QList<qint64> selectedSiteIds() const override;
    int selectedCount() const;
    // The id of a row (item data), at full width.
    qint64 rowId(int row) const;
    // Import and export of bookmark files, drops and pastes of links on the list.
    BookmarkTransfer& bookmarkTransfer() const { return *bookmarks; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    void connectBookmarks();
    // The list refills from the site store's announcements, whichever window made the change.
    void connectStore();
    bool takeDrop(QEvent* event);
    // After a save: the list, its count, and the saved row scrolled into view.
    void refillWithCount(qint64 savedId);
    // After a deletion: the list, its count, and empty boxes.
    void showSitesAfterDeletion();
    void showImported(const QList<qint64>& ids, const SiteStore::Listing& rows);
    void notice(const QString& text);

    ListBox* lstSites;
    QLineEdit* txtTitulo1;
    QLineEdit* txtURL;
    QLabel* lblTotal;
    QLabel* lblTituloHome;
    QCheckBox* CheckMinimize;
    BookmarkTransfer* bookmarks;
    ImageControl* btnMakeHome;
    ImageControl* btnDelete;
    ImageControl* btnInsert;
    ImageControl* btnUpdate;
    ImageControl* btnOpenText;
    ImageControl* btnPosition;
    LabelControl* lblPosition;
    ImageControl* Image1;
    FormTimer* TimerShowForm;
};
