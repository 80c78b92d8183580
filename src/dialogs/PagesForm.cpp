#include "dialogs/PagesForm.h"

#include "core/DisplayText.h"
#include "core/ErrorReporter.h"
#include "dialogs/PaintedList.h"
#include "forms/FormBuilder.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"

#include <QLabel>
#include <QPainter>
#include <QShortcut>

#include <cstdlib>
#include <optional>

namespace {
constexpr int kRowHeight = 32;
constexpr int kRows = 7;
// Where the list stands, in twips: under the count, above the line of keys.
constexpr int kListLeft = 180;
constexpr int kListTop = 675;
constexpr int kListWidth = 3990;
// A page may carry a title or an address of any length: only its start is measured.
constexpr qsizetype kMeasured = 400;

QString titleOf(const PageListing::Entry& e)
{
    const QString title = DisplayText::oneLine(e.title.left(kMeasured)).trimmed();
    return title.isEmpty() ? QStringLiteral("(sem título)") : title;
}

QString addressOf(const PageListing::Entry& e)
{
    return DisplayText::oneLine(e.address.left(kMeasured));
}

QString countText(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 página") : QStringLiteral("%1 páginas").arg(n);
}
} // namespace

// The pages, one row each: the title above the address, the page shown in cyan with a mark.
class PageList : public PaintedList {
public:
    explicit PageList(QWidget* parent)
        : PaintedList(parent, QStringLiteral("lstPaginas"), kRowHeight, kRows)
    {
        setAccessibleName(QStringLiteral("Páginas abertas"));
    }

    // The page chosen stays chosen when pages before it open or close; when it closed, the
    // row stays where it was (on the next page), or on the last one.
    void setEntries(QList<PageListing::Entry> entries)
    {
        const int row = current();
        const std::optional<PageListing::Entry> chosen =
            row >= 0 ? std::optional(m_items[row]) : std::nullopt;
        m_items = std::move(entries);
        setCount(int(m_items.size()));
        if (!chosen || (row < m_items.size() && sameAs(m_items[row], *chosen)))
            return;
        int nearest = -1;
        for (int i = 0; i < int(m_items.size()); ++i) {
            if (sameAs(m_items[i], *chosen) &&
                (nearest < 0 || std::abs(i - row) < std::abs(nearest - row)))
                nearest = i;
        }
        if (nearest >= 0)
            setCurrent(nearest);
    }
    int shownRow() const
    {
        for (qsizetype i = 0; i < m_items.size(); ++i) {
            if (m_items[i].shown)
                return int(i);
        }
        return -1;
    }

protected:
    void paintRow(QPainter& p, int row, const QRect& box) const override;
    QString emptyText() const override { return QStringLiteral("Nenhuma página aberta."); }
    QString spokenRow(int row) const override
    {
        const PageListing::Entry& e = m_items[row];
        QString said = QStringLiteral("%1 de %2: %3, %4")
                           .arg(row + 1)
                           .arg(m_items.size())
                           .arg(titleOf(e), addressOf(e));
        if (e.shown)
            said += QStringLiteral(" (mostrada)");
        return said;
    }

private:
    static bool sameAs(const PageListing::Entry& a, const PageListing::Entry& b)
    {
        return a.title == b.title && a.address == b.address;
    }

    QList<PageListing::Entry> m_items;
};

void PageList::paintRow(QPainter& p, int row, const QRect& box) const
{
    const PageListing::Entry& e = m_items[row];
    const QRect inside = box.adjusted(4, 2, -4, -2);
    const QRect titleLine(inside.left(), inside.top(), inside.width(), inside.height() / 2);
    const QRect addressLine(inside.left(), titleLine.bottom() + 1, inside.width(),
                            inside.height() - titleLine.height());
    const QFont bold = FormBuilder::font(layout::kSans825Bold);
    const QFont plain = FormBuilder::font(layout::kSans825);

    int titleWidth = titleLine.width();
    if (e.shown) {
        const QString mark = QStringLiteral("● mostrada");
        p.setFont(plain);
        p.setPen(QColor(layout::kSkinCyan));
        p.drawText(titleLine, Qt::AlignRight | Qt::AlignVCenter, mark);
        titleWidth -= QFontMetrics(plain).horizontalAdvance(mark) + 6;
    }
    p.setFont(bold);
    p.setPen(e.shown ? QColor(layout::kSkinCyan) : QColor(Qt::white));
    p.drawText(QRect(titleLine.left(), titleLine.top(), titleWidth, titleLine.height()),
               Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(bold).elidedText(titleOf(e), Qt::ElideRight, titleWidth));
    p.setFont(plain);
    p.setPen(QColor(layout::kSkinDetail));
    p.drawText(addressLine, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(plain).elidedText(addressOf(e), Qt::ElideRight, addressLine.width()));
}

PagesForm::PagesForm(PageListing& listing)
    : AnswerForm(layout::PagesFormLayout)
    , m_listing(&listing)
    , lstPaginas(new PageList(this))
    , lblTotal(control<QLabel>("lblTotal"))
{
    setControlLeft(lstPaginas, kListLeft);
    setControlTop(lstPaginas, kListTop);
    setControlWidth(lstPaginas, kListWidth);
    connect(windowKey(Qt::Key_Down), &QShortcut::activated, lstPaginas,
            [this] { lstPaginas->step(1); });
    connect(windowKey(Qt::Key_Up), &QShortcut::activated, lstPaginas,
            [this] { lstPaginas->step(-1); });
    connectHandler(windowKey(Qt::Key_Delete), &QShortcut::activated, this, &PagesForm::closeChosen);
    connectHandler(lstPaginas, &PaintedList::rowClicked, this, &PagesForm::showChosen);
    connectHandler(&listing, &PageListing::changed, this, &PagesForm::refill);
    connectHandler(&listing, &QObject::destroyed, this, &PagesForm::rejectAnswer);
}

PagesForm::~PagesForm() = default;

PagesForm& PagesForm::open(PageListing& listing)
{
    PagesForm* form = &Forms::get<PagesForm>(listing);
    if (form->m_listing != &listing) {
        // Another listing's window: it goes, and one of this listing's comes.
        form->rejectAnswer();
        form = &Forms::get<PagesForm>(listing);
    }
    form->refill();
    if (form->m_listing && !form->m_listing->entries().isEmpty()) {
        form->lstPaginas->setCurrent(form->lstPaginas->shownRow());
        form->Show();
    }
    return *form;
}

void PagesForm::acceptAnswer() { showChosen(); }

// A window with no pages to list does not stay.
void PagesForm::refill()
{
    const QList<PageListing::Entry> entries =
        m_listing ? m_listing->entries() : QList<PageListing::Entry>();
    lstPaginas->setEntries(entries);
    lblTotal->setText(countText(entries.size()));
    if (entries.isEmpty())
        rejectAnswer();
}

void PagesForm::showChosen()
{
    const int row = lstPaginas->current();
    if (m_listing && row >= 0)
        m_listing->showPage(row);
    rejectAnswer();
}

void PagesForm::closeChosen()
{
    const int row = lstPaginas->current();
    if (!m_listing || row < 0)
        return;
    m_listing->closePage(row);
    // The listing announces the change, and the window refills (or closes) then.
}
