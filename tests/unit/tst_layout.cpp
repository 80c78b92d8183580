#include "Parts.h"
#include "TestInstall.h"

#include "browser/Form1_Ini.h"
#include "core/QvError.h"
#include "dialogs/FindForm.h"
#include "dialogs/Form5_Msg.h"
#include "dialogs/Form6_Del.h"
#include "dialogs/LoginForm.h"
#include "dialogs/PagesForm.h"
#include "dialogs/PermissionForm.h"
#include "dialogs/PermissionsForm.h"
#include "dialogs/QuestionForm.h"
#include "forms/Controls.h"
#include "forms/FormTimer.h"
#include "forms/Forms.h"
#include "forms/ListBox.h"
#include "info/Form3_About.h"
#include "info/Form4_Help.h"
#include "layouts/Layouts.h"
#include "navigation/GotoForm.h"
#include "sites/Form2_Lista.h"

#include <QApplication>
#include <QCheckBox>
#include <QSet>
#include <QTest>

#include <functional>
#include <memory>

using layout::Kind;

namespace {

int px(int twips) { return qRound(twips / 15.0); }

bool isChildWindow(Kind k)
{
    return k == Kind::ListBox || k == Kind::TextBox || k == Kind::CheckBox || k == Kind::Browser;
}

bool hasKind(const QWidget* w, Kind k)
{
    // In the order of layout::Kind.
    static const char* const classes[] = {"LabelControl", "ImageControl",  "ShapeControl",
                                          "LineControl",  "QListView",     "QLineEdit",
                                          "QCheckBox",    "BrowserControl"};
    return w->inherits(classes[int(k)]);
}

// The font sizes the tables use, in pixels at 96 dots per inch.
int pixelSizeOf(double points)
{
    return points == 8.25 ? 11 : points == 9.75 ? 13 : points == 12 ? 16 : -1;
}

// Texts the load handlers write over the stored ones.
bool textSetAtLoad(const QString& form, const QString& name)
{
    static const QSet<QString> set{"Form1_Ini/lblHomeURL", "Form1_Ini/lblTituloHome",
                                   "Form1_Ini/lblNumChecked", "Form2_Lista/lblTotal",
                                   "PagesForm/lblTotal"};
    return set.contains(form + u'/' + name);
}

using Loader = std::function<BaseForm*()>;
template <class T>
Loader loader()
{
    return [] { return &Forms::get<T>(); };
}

// Pages "Página 1".."Página n" that record what the window asked of them ("show 2", "close 0").
class FakeListing : public PageListing {
public:
    FakeListing(int count, int shown)
    {
        for (int i = 0; i < count; ++i)
            add(i == shown);
    }
    QList<Entry> entries() const override { return pages; }
    void showPage(int index) override
    {
        asked << QStringLiteral("show %1").arg(index);
        for (qsizetype i = 0; i < pages.size(); ++i)
            pages[i].shown = i == index;
        Q_EMIT changed();
    }
    void closePage(int index) override
    {
        asked << QStringLiteral("close %1").arg(index);
        pages.removeAt(index);
        Q_EMIT changed();
    }
    void add(bool shown = false)
    {
        const int n = int(pages.size()) + 1;
        pages.append({QStringLiteral("Página %1").arg(n),
                      QStringLiteral("https://p%1.example.org/").arg(n), shown});
    }

    QList<Entry> pages;
    QStringList asked;
};

} // namespace

Q_DECLARE_METATYPE(const layout::Form*)

class tst_layout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowMatchesTable_data();
    void windowMatchesTable();
    void listBackgroundAfterEveryLoad();
    void loginHostKeepsItsEnd_data();
    void loginHostKeepsItsEnd();
    void pagesWindowKeys_data();
    void pagesWindowKeys();

private:
    FakeListing m_threePages{3, 1};
};

void tst_layout::windowMatchesTable_data()
{
    QTest::addColumn<const layout::Form*>("table");
    QTest::addColumn<Loader>("load");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("title");

    const QString product = QStringLiteral("Maravel Quorvane");
    const QString notice = QStringLiteral("Quorvane - Aviso");
    QTest::newRow("Form1_Ini") << &layout::Form1_IniLayout << loader<Form1_Ini>() << QSize(304, 490)
                               << product;
    QTest::newRow("Form2_Lista") << &layout::Form2_ListaLayout << loader<Form2_Lista>()
                                 << QSize(304, 490) << product;
    QTest::newRow("Form3_About") << &layout::Form3_AboutLayout << loader<Form3_About>()
                                 << QSize(304, 490) << product;
    QTest::newRow("Form4_Help") << &layout::Form4_HelpLayout << loader<Form4_Help>()
                                << QSize(304, 490)
                                << QStringLiteral(
                                       "Definir qual URL será a página inicial do Quorvane.");
    QTest::newRow("Form5_Msg") << &layout::Form5_MsgLayout << loader<Form5_Msg>() << QSize(233, 93)
                               << notice;
    QTest::newRow("Form6_Del") << &layout::Form6_DelLayout << loader<Form6_Del>() << QSize(233, 93)
                               << notice;
    QTest::newRow("LoginForm") << &layout::LoginFormLayout << loader<LoginForm>() << QSize(233, 152)
                               << QStringLiteral("Quorvane - Autenticação");
    QTest::newRow("QuestionForm") << &layout::QuestionFormLayout << loader<QuestionForm>()
                                  << QSize(233, 113) << notice;
    QTest::newRow("PermissionForm") << &layout::PermissionFormLayout << loader<PermissionForm>()
                                    << QSize(233, 113) << QStringLiteral("Quorvane - Permissão");
    QTest::newRow("FindForm") << &layout::FindFormLayout << loader<FindForm>() << QSize(233, 72)
                              << QStringLiteral("Quorvane - Localizar");
    QTest::newRow("GotoForm") << &layout::GotoFormLayout << loader<GotoForm>() << QSize(290, 306)
                              << QStringLiteral("Quorvane - Ir para");
    QTest::newRow("PermissionsForm")
        << &layout::PermissionsFormLayout << Loader([] { return &PermissionsForm::open(); })
        << QSize(290, 306) << QStringLiteral("Quorvane - Permissões");
    QTest::newRow("PagesForm") << &layout::PagesFormLayout
                               << Loader([this] { return &PagesForm::open(m_threePages); })
                               << QSize(290, 306) << QStringLiteral("Quorvane - Páginas");
}

void tst_layout::windowMatchesTable()
{
    QFETCH(const layout::Form*, table);
    QFETCH(Loader, load);
    QFETCH(QSize, size);
    QFETCH(QString, title);
    const bool large = size.height() == 490;

    TestInstall install;
    // Every part a window binds is found as it is built: a misspelt name fails here, named.
    BaseForm* form = nullptr;
    try {
        form = load();
    } catch (const QvError& e) {
        QFAIL(qPrintable(e.message()));
    }
    QCOMPARE(form->objectName(), QString::fromUtf8(table->name));
    QCOMPARE(form->size(), size);
    QCOMPARE(form->windowTitle(), title);
    QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);

    const QObjectList children = form->children();
    QSet<QString> names;
    int lowestChildWindow = INT_MAX;
    int highestPainted = -1;
    int previousPainted = INT_MAX;
    for (const layout::Control& c : table->controls) {
        const QString name = QString::fromUtf8(c.name);
        QVERIFY2(!names.contains(name), qPrintable(name + " appears twice"));
        names.insert(name);
        const auto found = form->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly);
        QVERIFY2(found.size() == 1, qPrintable(name));
        QWidget* w = found.first();
        QVERIFY2(hasKind(w, c.kind), qPrintable(name));
        QVERIFY2(!w->isHidden(), qPrintable(name));

        QRect expected(px(c.left), px(c.top), px(c.width), px(c.height));
        if (name == u"shpForm")
            expected.setSize(QSize(px(table->width - 15), px(table->height - (large ? 10 : 15))));
        auto* quor = form->findChild<QLabel*>(QStringLiteral("lblName1"));
        if (name == u"Label1" && quor) {
            // "vane" starts where the text of "Quor" ends: the logo reads as one word.
            QCOMPARE(w->x(), quor->x() + quor->fontMetrics().horizontalAdvance(quor->text()));
            expected.moveLeft(w->x());
        }
        if (c.kind == Kind::Line) {
            // A line's widget starts at its upper left end and holds the other end.
            QCOMPARE(w->pos(), QPoint(px(std::min(c.left, c.x2)), px(std::min(c.top, c.y2))));
            QVERIFY(w->geometry().contains(px(std::max(c.left, c.x2)), px(std::max(c.top, c.y2))));
        } else {
            QCOMPARE(w->geometry(), expected);
        }

        const QString text = QString::fromUtf8(c.text ? c.text : "");
        if (auto* label = qobject_cast<QLabel*>(w); label && !textSetAtLoad(form->Name(), name))
            QCOMPARE(label->text(), text);
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            QCOMPARE(box->text(), text);
            QVERIFY2(box->sizeHint().width() <= box->width(), "caption cut off");
        }
        QCOMPARE(w->toolTip(), QString::fromUtf8(c.toolTip ? c.toolTip : ""));
        QCOMPARE(w->font().pixelSize(), pixelSizeOf(c.font.points));
        QCOMPARE(w->font().bold(), c.font.bold);
        QCOMPARE(w->font().family(), QStringLiteral("Liberation Sans"));

        // Later in the children list is drawn above.
        const int index = int(children.indexOf(w));
        if (isChildWindow(c.kind)) {
            lowestChildWindow = std::min(lowestChildWindow, index);
        } else {
            QVERIFY2(index < previousPainted, qPrintable(name + " is not under the row before it"));
            previousPainted = index;
            highestPainted = std::max(highestPainted, index);
        }
    }
    QVERIFY2(lowestChildWindow > highestPainted, "a child window lies under a painted control");
}

void tst_layout::listBackgroundAfterEveryLoad()
{
    TestInstall install;
    auto checkList = [] {
        auto* list = part<ListBox>(Forms::get<Form2_Lista>(), "lstSites");
        QCOMPARE(list->frameShape(), QFrame::NoFrame);
        QCOMPARE(list->viewport()->palette().brush(QPalette::Base).texture().size(),
                 QSize(500, 32));
        // Two rows to a band of the picture: its lines fall between the items.
        list->addRow(QStringLiteral("Debian"), 1);
        QCOMPARE(list->sizeHintForRow(0), 16);
    };
    checkList();
    QPointer<Form2_Lista> first = &Forms::get<Form2_Lista>();
    FormTimer::setSpeedFactorForTesting(10);
    QTest::mouseClick(part(first, "imgFechar"), Qt::LeftButton);
    QTRY_VERIFY(first.isNull());
    checkList();
}

void tst_layout::loginHostKeepsItsEnd_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("room"); // a text as wide as the room for the host
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");

    const QString longHost = QStringLiteral("www.banco-oficial.com.br.aaaa.localhost");
    const QString a40 = QString(40, u'a') + QStringLiteral(".localhost");
    QTest::newRow("whole") << "www.banco.com.br"
                           << "banco.com.br"
                           << "www.banco.com.br"
                           << "www.banco.com.br"
                           << "www.banco.com.br";
    QTest::newRow("cut before its site") << longHost << "aaaa.localhost"
                                         << "www.banco-of.aaaa.localhost"
                                         << "www.banco" << QStringLiteral("…aaaa.localhost");
    QTest::newRow("a site wider than the room")
        << "www.banco-oficial.com.br." + a40 << a40 << "www.banco-oficial" << QStringLiteral("…a")
        << "aaaa.localhost";
    QTest::newRow("no site") << "proxy-da-empresa-muito-longo"
                             << ""
                             << "proxy-da-empresa"
                             << "proxy"
                             << "longo";
}

// The end of a host names who holds it: it always shows, and the line never wraps.
void tst_layout::loginHostKeepsItsEnd()
{
    QFETCH(QString, host);
    QFETCH(QString, site);
    QFETCH(QString, room);
    QFETCH(QString, start);
    QFETCH(QString, end);
    const QFontMetrics metrics{QFont()};
    const int width = metrics.horizontalAdvance(room);
    const QString shown = LoginForm::fitHost(host, site, metrics, width);
    QVERIFY2(shown.startsWith(start) && shown.endsWith(end), qPrintable(shown));
    QVERIFY2(metrics.horizontalAdvance(shown) <= width, qPrintable(shown));
}

void tst_layout::pagesWindowKeys_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("shown");
    // Keys, "click N" (the Nth row in view, from 0), "add" and "drop N" (a page opens or closes
    // elsewhere), "gone" (the listing goes, as when its window closes).
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QStringList>("asked");
    // After the input: the count and what a screen reader is told of the chosen row, or
    // nothing when the window has closed.
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("chosen");

    using L = QStringList;
    const QString second = QStringLiteral("2 de 3: Página 2, https://p2.example.org/");
    QTest::newRow("opens on the page shown")
        << 3 << 1 << L{} << L{} << "3 páginas" << second + QStringLiteral(" (mostrada)");
    QTest::newRow("Enter shows the one shown") << 3 << 1 << L{"Enter"} << L{"show 1"} << ""
                                               << "";
    QTest::newRow("Down, Enter") << 3 << 0 << L{"Down", "Enter"} << L{"show 1"} << ""
                                 << "";
    QTest::newRow("Up stops at the first") << 3 << 1 << L{"Up", "Up", "Enter"} << L{"show 0"} << ""
                                           << "";
    QTest::newRow("Down stops at the last")
        << 3 << 1 << L{"Down", "Down", "Down", "Enter"} << L{"show 2"} << ""
        << "";
    QTest::newRow("Escape") << 3 << 1 << L{"Escape"} << L{} << ""
                            << "";
    QTest::newRow("a click shows") << 3 << 0 << L{"click 2"} << L{"show 2"} << ""
                                   << "";
    QTest::newRow("Delete stays, on the next page")
        << 3 << 0 << L{"Down", "Delete"} << L{"close 1"} << "2 páginas"
        << "2 de 2: Página 3, https://p3.example.org/";
    QTest::newRow("Delete of the last row chooses the one before")
        << 3 << 0 << L{"Down", "Down", "Delete"} << L{"close 2"} << "2 páginas"
        << "2 de 2: Página 2, https://p2.example.org/";
    QTest::newRow("Delete of the only page closes") << 1 << 0 << L{"Delete"} << L{"close 0"} << ""
                                                    << "";
    QTest::newRow("a page opened elsewhere") << 1 << 0 << L{"add", "Down"} << L{} << "2 páginas"
                                             << "2 de 2: Página 2, https://p2.example.org/";
    QTest::newRow("a page before the chosen one closed elsewhere")
        << 3 << 1 << L{"drop 0"} << L{} << "2 páginas"
        << "1 de 2: Página 2, https://p2.example.org/ (mostrada)";
    QTest::newRow("the listing goes") << 3 << 1 << L{"gone"} << L{} << ""
                                      << "";
    QTest::newRow("1 página") << 1 << 0 << L{} << L{} << "1 página"
                              << "1 de 1: Página 1, https://p1.example.org/ (mostrada)";
    L down49, after50{"click 6"};
    for (int i = 0; i < 49; ++i)
        down49 << "Down";
    QTest::newRow("the last of 50 in view") << 50 << 0 << down49 << L{} << "50 páginas"
                                            << "50 de 50: Página 50, https://p50.example.org/";
    QTest::newRow("a click on the last of 50 in view")
        << 50 << 0 << (down49 + after50) << L{"show 49"} << ""
        << "";
}

// The window asks the listing for what was chosen, and refills (or closes) on its announcement.
void tst_layout::pagesWindowKeys()
{
    QFETCH(int, pages);
    QFETCH(int, shown);
    QFETCH(QStringList, input);
    QFETCH(QStringList, asked);
    QFETCH(QString, count);
    QFETCH(QString, chosen);

    TestInstall install;
    auto listing = std::make_unique<FakeListing>(pages, shown);
    PagesForm& form = PagesForm::open(*listing);
    QApplication::setActiveWindow(&form);
    QWidget* list = part(form, "lstPaginas");
    const QHash<QString, Qt::Key> keys{{"Up", Qt::Key_Up},
                                       {"Down", Qt::Key_Down},
                                       {"Enter", Qt::Key_Return},
                                       {"Delete", Qt::Key_Delete},
                                       {"Escape", Qt::Key_Escape}};
    for (const QString& in : input) {
        if (in == u"add") {
            listing->add();
            Q_EMIT listing->changed();
        } else if (in.startsWith(u"drop ")) {
            listing->pages.removeAt(in.mid(5).toInt());
            Q_EMIT listing->changed();
        } else if (in == u"gone") {
            listing.reset();
        } else if (in.startsWith(u"click ")) {
            const int row = in.mid(6).toInt();
            QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(20, row * 32 + 16));
        } else {
            QTest::keyClick(&form, keys.value(in));
        }
    }
    QCOMPARE(listing ? listing->asked : QStringList(), asked);
    QCOMPARE(Forms::ifLoaded<PagesForm>() != nullptr, !chosen.isEmpty());
    if (chosen.isEmpty())
        return;
    QCOMPARE(part<QLabel>(form, "lblTotal")->text(), count);
    QCOMPARE(list->accessibleDescription(), chosen);
    // The chosen row is framed in cyan, wherever the list has scrolled to.
    const QImage image = list->grab().toImage();
    bool framed = false;
    for (int y = 0; y < image.height(); ++y)
        framed = framed || image.pixel(0, y) == QColor(layout::kSkinCyan).rgb();
    QVERIFY(framed);
}

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
