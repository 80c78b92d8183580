#include "browser/Form1_Ini.h"

#include "browser/CWebBrowserEvents.h"
#include "browser/SessionKeeper.h"
#include "core/DisplayText.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/Platform.h"
#include "core/UrlTools.h"
#include "dialogs/FindForm.h"
#include "dialogs/Form5_Msg.h"
#include "dialogs/LoginForm.h"
#include "dialogs/PagesForm.h"
#include "dialogs/PermissionsForm.h"
#include "dialogs/QuestionForm.h"
#include "engine/BrowsingData.h"
#include "engine/PagePrinter.h"
#include "forms/BrowserControl.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/Pictures.h"
#include "info/Form3_About.h"
#include "info/Form4_Help.h"
#include "layouts/Layouts.h"
#include "navigation/GotoForm.h"
#include "navigation/HistoryRecorder.h"
#include "sites/Form2_Lista.h"
#include "storage/Backups.h"
#include "storage/ConfigStore.h"
#include "storage/HistoryStore.h"
#include "storage/PermissionStore.h"
#include "storage/SiteStore.h"

#include <QLabel>
#include <QShortcut>
#include <QTimer>

#include <utility>

namespace {
constexpr int kFirstShowMs = 1000;

// A button or key of this window first ends a login window that waits over it, then acts once
// that wait has returned (never inside the engine's call for the login).
template <class Fn>
auto afterLogin(Fn fn)
{
    return [fn](Form1_Ini* f) { LoginForm::endThen(f, [f, fn] { std::invoke(fn, f); }); };
}

// The browser's pages as the pages window lists them; closing the last one leaves the home page.
class OpenPages : public PageListing {
public:
    OpenPages(BrowserControl* browser, std::function<QString()> home, QObject* parent)
        : PageListing(parent)
        , m_browser(browser)
        , m_home(std::move(home))
    {
        connect(browser, &BrowserControl::pagesChanged, this, &PageListing::changed);
    }

    QList<Entry> entries() const override
    {
        QList<Entry> entries;
        const int shown = m_browser->shownIndex();
        for (const PageState& page : m_browser->pageSummaries())
            entries.append({page.title, page.address, entries.size() == shown});
        return entries;
    }
    void showPage(int index) override { m_browser->showPage(index); }
    void closePage(int index) override { m_browser->closePage(index, m_home()); }

private:
    BrowserControl* m_browser;
    std::function<QString()> m_home;
};
} // namespace

Form1_Ini::Form1_Ini()
    : SkinnedForm(layout::Form1_IniLayout,
                  Options{.dragOnTab = true, .rightReleaseRemovesIcon = false})
    , WebBrowser2(control<BrowserControl>("WebBrowser2"))
    , WebBrowser1(control<BrowserControl>("WebBrowser1"))
    , lblHomeURL(control<QLabel>("lblHomeURL"))
    , lblTituloHome(control<QLabel>("lblTituloHome"))
    , lblNumChecked(control<QLabel>("lblNumChecked"))
    , lblFormNothing(control<QLabel>("lblFormNothing"))
    , lblNavigate(control<QLabel>("lblNavigate"))
    , btnHome(control<ImageControl>("btnHome"))
    , btnBack(control<ImageControl>("btnBack"))
    , btnForward(control<ImageControl>("btnForward"))
    , btnAdm(control<ImageControl>("btnAdm"))
    , btnHelp(control<ImageControl>("btnHelp"))
    , btnAbout(control<ImageControl>("btnAbout"))
    , btnMeuSite(control<ImageControl>("btnMeuSite"))
    , TimerFormNothing(timer("TimerFormNothing"))
    , TimerShowForm(timer("TimerShowForm"))
    , m_icon(Pictures::applicationIcon())
{
    setWindowIcon(m_icon);
    m_printer = new PagePrinter(WebBrowser2);
    m_pages = new OpenPages(
        WebBrowser2, [this] { return GetFullUrl(lblHomeURL->text()); }, this);
    connectButtons();
    createKeys();
}

// The keys of a desktop browser; back, forward and home do what their buttons do.
void Form1_Ini::createKeys()
{
    using Zoom = BrowserControl::Zoom;
    const auto bind = [this](QKeyCombination keys, auto fn) {
        connectHandler(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this,
                       afterLogin(fn));
    };
    bind(Qt::ALT | Qt::Key_Left, &Form1_Ini::btnBack_Click);
    bind(Qt::ALT | Qt::Key_Right, &Form1_Ini::btnForward_Click);
    bind(Qt::ALT | Qt::Key_Home, &Form1_Ini::btnHome_Click);
    const auto reload = [](Form1_Ini* f) { f->WebBrowser2->Refresh(); };
    bind(QKeyCombination(Qt::Key_F5), reload);
    bind(Qt::CTRL | Qt::Key_R, reload);
    const auto zoomIn = [](Form1_Ini* f) { f->WebBrowser2->zoom(Zoom::In); };
    bind(Qt::CTRL | Qt::Key_Plus, zoomIn);
    bind(Qt::CTRL | Qt::Key_Equal, zoomIn); // the plus key without Shift
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus, zoomIn);
    bind(Qt::CTRL | Qt::Key_Minus, [](Form1_Ini* f) { f->WebBrowser2->zoom(Zoom::Out); });
    bind(Qt::CTRL | Qt::Key_0, [](Form1_Ini* f) { f->WebBrowser2->zoom(Zoom::Reset); });
    bind(Qt::CTRL | Qt::Key_F, [](Form1_Ini* f) { FindForm::open(f->WebBrowser2); });
    bind(Qt::CTRL | Qt::Key_D, &Form1_Ini::savePageToList);
    bind(Qt::CTRL | Qt::Key_P, [](Form1_Ini* f) { f->m_printer->print(); });
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete, &Form1_Ini::askToClearBrowsingData);
    bind(Qt::CTRL | Qt::Key_L, &Form1_Ini::openGoto);
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_P, [](Form1_Ini*) { PermissionsForm::open(); });
    createPageKeys();
}

// The pages: a new one, closing, going round them, and the last one closed back.
void Form1_Ini::createPageKeys()
{
    const auto bind = [this](QKeyCombination keys, auto fn) {
        connectHandler(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this,
                       afterLogin(fn));
    };
    bind(Qt::CTRL | Qt::Key_T, &Form1_Ini::openNewPage);
    bind(Qt::CTRL | Qt::Key_W,
         [](Form1_Ini* f) { f->WebBrowser2->closePage(-1, GetFullUrl(f->lblHomeURL->text())); });
    const auto next = [](Form1_Ini* f) { f->WebBrowser2->showNeighbour(1); };
    const auto previous = [](Form1_Ini* f) { f->WebBrowser2->showNeighbour(-1); };
    bind(Qt::CTRL | Qt::Key_Tab, next);
    bind(Qt::CTRL | Qt::Key_PageDown, next);
    // With Shift, the key is Backtab.
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, previous);
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, previous);
    bind(Qt::CTRL | Qt::Key_PageUp, previous);
    for (int i = 0; i < 8; ++i)
        bind(Qt::CTRL | Qt::Key(Qt::Key_1 + i), [i](Form1_Ini* f) { f->WebBrowser2->showPage(i); });
    bind(Qt::CTRL | Qt::Key_9, [](Form1_Ini* f) { f->WebBrowser2->showPage(-1); });
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_A, [](Form1_Ini* f) { PagesForm::open(*f->m_pages); });
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_T,
         [](Form1_Ini* f) { f->WebBrowser2->reopenClosedPage(); });
}

// A new page on the home page, with the address window over it: Escape there leaves it there.
void Form1_Ini::openNewPage()
{
    if (WebBrowser2->openPage(GetFullUrl(lblHomeURL->text()), BrowserControl::Placement::Front))
        GotoForm::open();
}

void Form1_Ini::savePageToList()
{
    const QString url = WebBrowser2->LocationURL().trimmed();
    if (url.isEmpty())
        return showNotice(QStringLiteral("Não há página para salvar."));
    if (url.size() > kMaxAddressLength)
        return showNotice(
            QStringLiteral("O endereço desta página tem mais de %1 caracteres, o limite da lista; "
                           "nada foi salvo.")
                .arg(kMaxAddressLength));
    // A title is one line in the list; a page without one is listed by its address.
    QString title = DisplayText::oneLine(WebBrowser2->title()).simplified();
    if (title.isEmpty())
        title = url;
    QV_Variaveis::SetDatabasePaths();
    // An open administration window refills from the store.
    if (!SiteStore::instance().insertIfNew(title, url))
        return showNotice(QStringLiteral("Este site já está na lista."));
    showNotice(QStringLiteral("Site adicionado: %1").arg(title));
}

void Form1_Ini::askToClearBrowsingData()
{
    if (!QuestionForm::ask(QStringLiteral("Limpar o histórico, os cookies e o cache?"),
                           QStringLiteral("Os sites salvos ficam.")))
        return;
    clearBrowsingData(history());
    WebBrowser2->forgetClosedPages();
    // Asked only when there is something to forget; the saved sites stay either way.
    const bool forget = PermissionStore::hasDecisions() &&
                        QuestionForm::ask(QStringLiteral("Esquecer também as permissões dadas "
                                                         "aos sites?"),
                                          QStringLiteral("Cada site pergunta de novo."));
    if (forget)
        PermissionStore::forgetAll();
    showNotice(forget ? QStringLiteral("Histórico, cookies, cache e permissões foram limpos.")
                      : QStringLiteral("Histórico, cookies e cache foram limpos."));
}

void Form1_Ini::connectButtons()
{
    const auto bind = [this](ImageControl* button, auto fn) {
        connectHandler(button, &ImageControl::Click, this, afterLogin(fn));
    };
    bind(btnAbout, &Form1_Ini::btnAbout_Click);
    bind(btnHelp, &Form1_Ini::btnHelp_Click);
    bind(btnAdm, &Form1_Ini::btnAdm_Click);
    bind(btnMeuSite, &Form1_Ini::btnMeuSite_Click);
    bind(btnHome, &Form1_Ini::btnHome_Click);
    bind(btnBack, &Form1_Ini::btnBack_Click);
    bind(btnForward, &Form1_Ini::btnForward_Click);
    // The title bar's tray images hide this window; a login over it ends with it.
    for (const char* tray : {"imgTray", "imgTrayOn"})
        connect(control<ImageControl>(tray), &ImageControl::Click, this,
                [this] { LoginForm::endThen(this, [] {}); });
    for (QWidget* b : {btnAbout, btnHelp, btnMeuSite, btnBack, btnForward, btnHome, btnAdm})
        withPressedLook(b);
    connectHandler(TimerFormNothing, &FormTimer::Timer, this, &Form1_Ini::TimerFormNothing_Timer);
    connectHandler(TimerShowForm, &FormTimer::Timer, this, &Form1_Ini::TimerShowForm_Timer);
}

void Form1_Ini::Form_Load()
{
    Hide();
    QV_Variaveis::SetDatabasePaths();
    m_restoreNotices = Backups::atStartup();
    const ConfigRecord config = ConfigStore::read();
    const qint16 minimizado = config.minimizado;
    if (minimizado == 1) {
        lblNumChecked->setText(QStringLiteral("1"));
        minimize_to_tray();
        QTimer::singleShot(0, this,
                           [this] { ErrorReporter::guard([this] { showRestoreNotices(); }); });
    } else {
        lblNumChecked->setText(QStringLiteral("0"));
        TimerShowForm->setInterval(kFirstShowMs);
        TimerShowForm->setEnabled(true);
    }
    lblHomeURL->setText(config.homeURL);
    lblTituloHome->setText(config.homeTitulo);
    startChrome();
    setLeft(config.left);
    setTop(config.top);
    m_events = new CWebBrowserEvents(this);
    m_events->setWebBrowser(WebBrowser2);
    startHistory();
    WebBrowser2->setSilent(true);
    const Session leftBehind = startSession();
    if (!leftBehind.isEmpty()) {
        WebBrowser2->restore(leftBehind);
        const int n = WebBrowser2->pageCount();
        m_restoreNotices.append(n == 1 ? QStringLiteral("1 página restaurada.")
                                       : QStringLiteral("%1 páginas restauradas.").arg(n));
        return;
    }
    WebBrowser2->Navigate(applicationDir() + QStringLiteral("/Web/index.htm"));
    WebBrowser2->Navigate(GetFullUrl(lblHomeURL->text()));
}

void Form1_Ini::TimerShowForm_Timer()
{
    TimerShowForm->setEnabled(false);
    Show();
    showRestoreNotices();
}

void Form1_Ini::showRestoreNotices()
{
    m_noticesShown = true;
    for (const QString& notice : std::exchange(m_restoreNotices, {}))
        showNotice(notice);
    for (const QString& message : std::exchange(m_laterReports, {}))
        ErrorReporter::report(message);
}

// Without a usable history file the program goes on without history, after one message,
// shown once the window is up.
void Form1_Ini::startHistory()
{
    std::unique_ptr<HistoryStore> store;
    try {
        store = HistoryStore::create(QV_Variaveis::HistoryDbPath);
    } catch (const QvError& e) {
        reportHistoryOff(e.message());
        store = HistoryStore::createDisabled(QV_Variaveis::HistoryDbPath, e.message());
    }
    connect(store.get(), &HistoryStore::writeFailed, this, &Form1_Ini::reportHistoryOff);
    m_history = new HistoryRecorder(WebBrowser2, std::move(store), this);
}

// Without a usable session file the program goes on, its pages not kept, after one message.
Session Form1_Ini::startSession()
{
    std::unique_ptr<SessionStore> store;
    const auto reportOff = [this](const QString& message) {
        reportLater(QStringLiteral("As páginas abertas não serão guardadas. ") + message);
    };
    try {
        QString setAside;
        store = SessionStore::open(QV_Variaveis::SessionDbPath, &setAside);
        if (!setAside.isEmpty())
            m_restoreNotices.append(setAside);
    } catch (const QvError& e) {
        reportOff(e.message());
        store = SessionStore::disabled(QV_Variaveis::SessionDbPath, e.message());
    }
    connect(store.get(), &SessionStore::writeFailed, this, reportOff);
    Session leftBehind = store->leftBehind();
    m_session = new SessionKeeper(WebBrowser2, std::move(store), this);
    return leftBehind;
}

void Form1_Ini::reportLater(const QString& notice)
{
    if (m_noticesShown)
        ErrorReporter::report(notice);
    else
        m_laterReports.append(notice);
}

void Form1_Ini::reportHistoryOff(const QString& message)
{
    reportLater(QStringLiteral("O histórico não será gravado. ") + message);
}

HistoryStore* Form1_Ini::history() const { return m_history ? &m_history->store() : nullptr; }

void Form1_Ini::openGoto() { GotoForm::open(); }

template <class T>
void Form1_Ini::openSecondary()
{
    T& target = Forms::get<T>();
    target.setLeft(Left());
    target.setTop(Top());
    target.Show();
}

void Form1_Ini::btnAbout_Click() { openSecondary<Form3_About>(); }

void Form1_Ini::btnHelp_Click() { openSecondary<Form4_Help>(); }

void Form1_Ini::btnAdm_Click()
{
    Forms::get<Form2_Lista>().showHomeTitle(lblTituloHome->text());
    openSecondary<Form2_Lista>();
}

void Form1_Ini::btnMeuSite_Click() { OpenExternal(QString::fromUtf16(kMakerSite)); }

void Form1_Ini::btnHome_Click() { WebBrowser2->Navigate(GetFullUrl(lblHomeURL->text())); }

// With no page in that direction the control does nothing, and nothing is said.
void Form1_Ini::btnBack_Click() { WebBrowser2->GoBack(); }

void Form1_Ini::btnForward_Click() { WebBrowser2->GoForward(); }

void Form1_Ini::TimerFormNothing_Timer()
{
    if (BaseForm* f = Forms::loadedByName(lblFormNothing->text()))
        Forms::unload(f);
    TimerFormNothing->setEnabled(false);
}

QString Form1_Ini::homeTitle() const { return lblTituloHome->text(); }

void Form1_Ini::setHome(const QString& url, const QString& title)
{
    lblHomeURL->setText(url);
    lblTituloHome->setText(title);
}

int Form1_Ini::startMinimizedFlag() const { return lblNumChecked->text().toInt(); }

void Form1_Ini::setStartMinimizedFlag(int flag) { lblNumChecked->setText(QString::number(flag)); }

void Form1_Ini::setAddressToOpen(const QString& address) { lblNavigate->setText(address); }

void Form1_Ini::openAddressToOpen() { WebBrowser2->Navigate(GetFullUrl(lblNavigate->text())); }

void Form1_Ini::navigate(const QString& address) { WebBrowser2->Navigate(address); }

// Up to the most pages the browser keeps: the one that would be too many says so.
void Form1_Ini::openInNewPages(const QStringList& addresses)
{
    for (const QString& address : addresses)
        if (!WebBrowser2->openPage(address, BrowserControl::Placement::Front))
            break;
}

void Form1_Ini::takeOverFrom(const BaseForm& from)
{
    setLeft(from.Left());
    setTop(from.Top());
    Show();
    lblFormNothing->setText(from.Name());
    TimerFormNothing->setInterval(MainWindow::kHandOverMs);
    TimerFormNothing->setEnabled(true);
}

void Form1_Ini::imgFechar_Click()
{
    LoginForm::endThen(this, [this] {
        Hide();
        Forms::unload(this);
    });
}

void Form1_Ini::closeFromOutside()
{
    LoginForm::endThen(this, [this] { SkinnedForm::closeFromOutside(); });
}

// A normal end: the next start shows the home page.
void Form1_Ini::Form_Unload()
{
    if (m_session)
        m_session->endNormally();
    UnloadAllForms();
}

void Form1_Ini::UnloadAllForms()
{
    for (BaseForm* f : Forms::loaded())
        Forms::unload(f);
    Platform::instance().endProcess(0);
}
