#include "sites/Form2_Lista.h"

#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/UrlTools.h"
#include "dialogs/Form5_Msg.h"
#include "dialogs/Form6_Del.h"
#include "forms/BrowserControl.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/ListBox.h"
#include "forms/MainWindow.h"
#include "layouts/Layouts.h"
#include "sites/BookmarkTransfer.h"
#include "sites/ListBackground.h"
#include "storage/Backups.h"
#include "storage/ConfigStore.h"
#include "storage/SiteStore.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

namespace {
constexpr int kOpenDelayMs = 1000;
const QString kCountSuffix = QStringLiteral(" iten(s)");
const QString kEmptyFields = QStringLiteral("O Título e a URL não podem ficar vazios.");
const QString kSelectFirst = QStringLiteral("É preciso selecionar um item primeiro.");
const QString kItemGone = QStringLiteral("O item não existe mais no banco de dados.");
} // namespace

Form2_Lista::Form2_Lista()
    : SecondaryForm(layout::Form2_ListaLayout)
    , lstSites(control<ListBox>("lstSites"))
    , txtTitulo1(control<QLineEdit>("txtTitulo1"))
    , txtURL(control<QLineEdit>("txtURL"))
    , lblTotal(control<QLabel>("lblTotal"))
    , lblTituloHome(control<QLabel>("lblTituloHome"))
    , CheckMinimize(control<QCheckBox>("CheckMinimize"))
    , bookmarks(new BookmarkTransfer(this))
    , btnMakeHome(control<ImageControl>("btnMakeHome"))
    , btnDelete(control<ImageControl>("btnDelete"))
    , btnInsert(control<ImageControl>("btnInsert"))
    , btnUpdate(control<ImageControl>("btnUpdate"))
    , btnOpenText(control<ImageControl>("btnOpenText"))
    , btnPosition(control<ImageControl>("btnPosition"))
    , lblPosition(control<LabelControl>("lblPosition"))
    , Image1(control<ImageControl>("Image1"))
    , TimerShowForm(timer("TimerShowForm"))
{
    connectHandlers();
    connectBookmarks();
    connectStore();
    txtTitulo1->setAccessibleName(QStringLiteral("Título"));
    txtURL->setAccessibleName(QStringLiteral("URL (site)"));
    lstSites->setAccessibleName(QStringLiteral("Sites salvos"));
    lstSites->setAccessibleDescription(
        QStringLiteral("Ctrl+I importa um arquivo de favoritos, Ctrl+E exporta a lista; Ctrl+V "
                       "ou arrastar um link para a lista o adiciona."));
}

void Form2_Lista::connectBookmarks()
{
    connectHandler(windowKey(QKeyCombination(Qt::CTRL, Qt::Key_I).toCombined()),
                   &QShortcut::activated, bookmarks, &BookmarkTransfer::importWithDialog);
    connectHandler(windowKey(QKeyCombination(Qt::CTRL, Qt::Key_E).toCombined()),
                   &QShortcut::activated, bookmarks, &BookmarkTransfer::exportWithDialog);
    lstSites->viewport()->setAcceptDrops(true);
    lstSites->viewport()->installEventFilter(this);
}

void Form2_Lista::connectStore()
{
    SiteStore& store = SiteStore::instance();
    // A save's notice comes first; the list refills behind it once it shows.
    const auto saved = [this](qint64 id) { ErrorReporter::guard([&] { refillWithCount(id); }); };
    connect(&store, &SiteStore::siteAdded, this, saved, Qt::QueuedConnection);
    connect(&store, &SiteStore::siteChanged, this, saved, Qt::QueuedConnection);
    // A deletion shows in the list before its notice.
    connect(&store, &SiteStore::sitesRemoved, this,
            [this] { ErrorReporter::guard([this] { showSitesAfterDeletion(); }); });
    // From the import's thread, queued: the listing came with it.
    connect(&store, &SiteStore::sitesImported, this,
            [this](const QList<qint64>& ids, const SiteStore::Listing& rows) {
                ErrorReporter::guard([&] { showImported(ids, rows); });
            });
}

void Form2_Lista::showImported(const QList<qint64>& ids, const SiteStore::Listing& rows)
{
    // The listing was read on the import's thread: sorting a long list here would hold the window.
    const int n = int(rows.titles.size());
    {
        const QSignalBlocker blocker(lstSites);
        lstSites->setRows(rows.titles, rows.ids);
    }
    lblTotal->setText(QString::number(n) + kCountSuffix);
    lstSites->showRow(lstSites->rowOfId(ids.constFirst()));
}

bool Form2_Lista::takeDrop(QEvent* event)
{
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData() || BookmarkTransfer::carried(*drop->mimeData()).isEmpty())
        return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop) {
        const auto what = BookmarkTransfer::carried(*drop->mimeData());
        // The notice is modal: it must not run inside the drag's own event loop.
        QTimer::singleShot(0, bookmarks,
                           [this, what] { ErrorReporter::guard([&] { bookmarks->take(what); }); });
    }
    return true;
}

void Form2_Lista::connectHandlers()
{
    connect(lstSites, &ListBox::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ErrorReporter::guard([this] { lstSites_Click(); });
    });
    connectHandler(lstSites, &ListBox::doubleClicked, this, &Form2_Lista::lstSites_DblClick);
    lstSites->installEventFilter(this);
    connectHandler(btnOpenText, &ImageControl::Click, this, &Form2_Lista::btnOpenText_Click);
    connectHandler(btnInsert, &ImageControl::Click, this, &Form2_Lista::btnInsert_Click);
    connectHandler(btnUpdate, &ImageControl::Click, this, &Form2_Lista::btnUpdate_Click);
    connectHandler(btnMakeHome, &ImageControl::Click, this, &Form2_Lista::btnMakeHome_Click);
    connectHandler(btnPosition, &ImageControl::Click, this, &Form2_Lista::btnPosition_Click);
    connectHandler(lblPosition, &LabelControl::Click, this, &Form2_Lista::lblPosition_Click);
    connectHandler(btnDelete, &ImageControl::Click, this, &Form2_Lista::btnDelete_Click);
    connectHandler(CheckMinimize, &QCheckBox::toggled, this, &Form2_Lista::CheckMinimize_Click);
    connectHandler(TimerShowForm, &FormTimer::Timer, this, &Form2_Lista::TimerShowForm_Timer);
    for (QWidget* b : {btnDelete, btnInsert, btnUpdate, btnMakeHome, btnOpenText, btnPosition})
        withPressedLook(b);
    connectHandler(windowKey(Qt::Key_Delete), &QShortcut::activated, this,
                   &Form2_Lista::btnDelete_Click);
}

void Form2_Lista::Form_Load()
{
    startChrome();
    takeMainWindowIcon();
    ListBackground::apply(lstSites, Image1->picture());
    QV_Variaveis::SetDatabasePaths();
    const QString restored = Backups::restoreIfDamaged(QV_Variaveis::LinksDbPath);
    const int n = refillList();
    lblTotal->setText(QString::number(n) + kCountSuffix);
    if (!restored.isEmpty()) // over the window, once it shows
        QTimer::singleShot(0, this,
                           [this, restored] { ErrorReporter::guard([&] { notice(restored); }); });
    if (MainWindow::get().startMinimizedFlag() == 1)
        CheckMinimize->setChecked(true);
    else
        CheckMinimize->setChecked(false);
    armHideTimer();
}

int Form2_Lista::refillList()
{
    SiteStore::Listing rows = SiteStore::instance().listing();
    const int n = int(rows.titles.size());
    // Filling is not a change of the current item: no row handler runs meanwhile.
    const QSignalBlocker blocker(lstSites);
    lstSites->setRows(std::move(rows.titles), std::move(rows.ids));
    return n;
}

void Form2_Lista::showHomeTitle(const QString& title) { lblTituloHome->setText(title); }

QList<qint64> Form2_Lista::selectedSiteIds() const
{
    QList<qint64> ids;
    for (int i = lstSites->count() - 1; i >= 0; --i) {
        if (lstSites->isRowSelected(i))
            ids.append(rowId(i));
    }
    return ids;
}

void Form2_Lista::showSitesAfterDeletion()
{
    const int n = refillList();
    lblTotal->setText(QString::number(n) + QStringLiteral(" ítens"));
    txtTitulo1->setText(QString());
    txtURL->setText(QString());
}

qint64 Form2_Lista::rowId(int row) const { return lstSites->id(row); }

int Form2_Lista::selectedCount() const
{
    return int(lstSites->selectionModel()->selectedRows().size());
}

void Form2_Lista::lstSites_Click()
{
    const SiteStore::Site site = SiteStore::instance().site(rowId(lstSites->currentRow()));
    txtTitulo1->setText(site.title);
    txtURL->setText(site.url);
}

bool Form2_Lista::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstSites->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop))
        return takeDrop(event) || SecondaryForm::eventFilter(watched, event);
    if (watched == lstSites && event->type() == QEvent::KeyPress) {
        // A paste on the list is the keyboard's drop.
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            const QMimeData* data = QGuiApplication::clipboard()->mimeData();
            if (data)
                ErrorReporter::guard([&] { bookmarks->take(BookmarkTransfer::carried(*data)); });
            return true;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ErrorReporter::guard([this] { OpenSelectedSite(); });
            return true;
        }
    }
    return SecondaryForm::eventFilter(watched, event);
}

void Form2_Lista::OpenSelectedSite()
{
    // A site that cannot be opened is said so (an unreadable database through the error
    // raised), and both windows stay as they are.
    if (lstSites->currentRow() < 0)
        return notice(kSelectFirst);
    const std::optional<QString> address =
        SiteStore::instance().openingAddress(rowId(lstSites->currentRow()));
    if (!address)
        return notice(kItemGone);
    MainWindow::get().setAddressToOpen(*address);
    TimerShowForm->setInterval(kOpenDelayMs);
    TimerShowForm->setEnabled(true);
}

void Form2_Lista::TimerShowForm_Timer()
{
    TimerShowForm->setEnabled(false);
    handBackToMainWindow();
    MainWindow::get().openAddressToOpen();
}

void Form2_Lista::btnOpenText_Click() { OpenExternal(GetFullUrl(txtURL->text())); }

void Form2_Lista::notice(const QString& text) { showNotice(text); }

void Form2_Lista::refillWithCount(qint64 savedId)
{
    const int n = refillList();
    lblTotal->setText(QString::number(n) + kCountSuffix);
    lstSites->showRow(lstSites->rowOfId(savedId));
}

void Form2_Lista::btnInsert_Click()
{
    const QString title = txtTitulo1->text();
    const QString url = txtURL->text();
    if (title.isEmpty() || url.isEmpty())
        return notice(kEmptyFields);
    QV_Variaveis::SetDatabasePaths();
    SiteStore::instance().insert(title, url);
    notice(QStringLiteral("Item inserido com sucesso!"));
    txtTitulo1->clear();
    txtURL->clear();
}

void Form2_Lista::btnUpdate_Click()
{
    if (selectedCount() == 0)
        return notice(kSelectFirst);
    // The record updated is the current item, whose values the boxes were filled from.
    const int current = lstSites->currentRow();
    if (current < 0)
        return notice(kSelectFirst);
    const qint64 id = rowId(current);
    const QString title = txtTitulo1->text();
    const QString url = txtURL->text();
    if (title.isEmpty() || url.isEmpty())
        return notice(kEmptyFields);
    QV_Variaveis::SetDatabasePaths();
    // A row deleted meanwhile (by another copy of the program) is not reported as updated; the
    // store announces no change then, and the list shows the table as it now is.
    if (SiteStore::instance().update(id, title, url))
        return notice(QStringLiteral("Item atualizado com sucesso!"));
    notice(QStringLiteral("O item não existe mais no banco de dados; a lista foi recarregada."));
    refillWithCount(id);
}

void Form2_Lista::btnMakeHome_Click()
{
    if (selectedCount() == 0)
        return notice(kSelectFirst);
    const QString title = txtTitulo1->text();
    const QString url = txtURL->text();
    if (title.isEmpty() || url.isEmpty())
        return notice(kEmptyFields);
    QV_Variaveis::SetDatabasePaths();
    ConfigStore::setHome(title, url);
    notice(QStringLiteral("Página inicial atualizada com sucesso!"));
    lblTituloHome->setText(title);
    MainWindow::get().setHome(url, title);
}

void Form2_Lista::btnPosition_Click()
{
    const int x = Left();
    const int y = Top();
    QV_Variaveis::SetDatabasePaths();
    ConfigStore::setPosition(x, y);
    notice(QStringLiteral("Posição atualizada com sucesso!"));
}

void Form2_Lista::CheckMinimize_Click()
{
    const int f = CheckMinimize->isChecked() ? 1 : 0;
    QV_Variaveis::SetDatabasePaths();
    try {
        ConfigStore::setStartMinimized(f == 1);
    } catch (const QvError&) {
        // The box shows what is stored.
        const QSignalBlocker quiet(CheckMinimize);
        CheckMinimize->setChecked(f == 0);
        throw;
    }
    MainWindow::get().setStartMinimizedFlag(f);
}

void Form2_Lista::btnDelete_Click()
{
    if (selectedCount() != 0) {
        Forms::get<Form6_Del>().ask(*this, *this);
        return;
    }
    notice(QStringLiteral("É preciso selecionar pelo menos um item primeiro."));
}
