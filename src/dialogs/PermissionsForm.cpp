#include "dialogs/PermissionsForm.h"

#include "core/DisplayText.h"
#include "core/ErrorReporter.h"
#include "forms/FormBuilder.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"
#include "storage/PermissionStore.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include <algorithm>

namespace {
constexpr QRgb kCyan = layout::kSkinCyan;
constexpr QRgb kDetail = layout::kSkinDetail;
constexpr QRgb kRefused = 0xFF9A8A;
constexpr QRgb kCurrentFill = layout::kSkinCurrentFill;
constexpr QRgb kRule = layout::kSkinRule;
constexpr int kRowHeight = 30;
constexpr int kRows = 8;
// Where the list stands, in twips: under the title, above the line of keys.
constexpr int kListLeft = 180;
constexpr int kListTop = 480;
constexpr int kListWidth = 3990;

// An origin is named by its end (the host's registrable part, the port): only that much is
// measured, however long the stored text.
QString originShown(const QString& origin, const QFontMetrics& metrics, int width)
{
    constexpr qsizetype kKeep = 300;
    const QString end = DisplayText::oneLine(origin.size() <= kKeep ? origin : origin.right(kKeep));
    return metrics.elidedText(end, Qt::ElideLeft, width);
}

QString detailOf(const PermissionStore::Entry& e)
{
    const QString said = e.decision == PermissionStore::Decision::Allow
                             ? QStringLiteral("permitido")
                             : QStringLiteral("bloqueado");
    const QString when =
        QDateTime::fromSecsSinceEpoch(e.when).toString(QStringLiteral("dd/MM/yyyy"));
    return DisplayText::oneLine(e.kind.left(100)) + QStringLiteral(": ") + said +
           QStringLiteral(" em ") + when;
}
} // namespace

// The decisions, one row each (the origin above what it is about), painted; the current row
// highlighted and kept in view.
class DecisionList : public QWidget {
public:
    explicit DecisionList(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("lstDecisoes"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedHeight(kRows * kRowHeight);
    }

    // The current row stays where it was, or on the last one when the list got shorter.
    void setEntries(std::vector<PermissionStore::Entry> entries)
    {
        m_items = std::move(entries);
        const int n = int(m_items.size());
        m_current = n == 0 ? -1 : std::clamp(m_current, 0, n - 1);
        keepInView();
    }
    const std::vector<PermissionStore::Entry>& entries() const { return m_items; }
    int current() const { return m_current; }

    void step(int delta)
    {
        if (m_items.empty())
            return;
        m_current = std::clamp(m_current + delta, 0, int(m_items.size()) - 1);
        keepInView();
    }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override
    {
        const int row = m_top + int(event->position().y()) / kRowHeight;
        if (event->button() == Qt::LeftButton && row < int(m_items.size())) {
            m_current = row;
            update();
        }
    }

private:
    void keepInView()
    {
        m_top = std::clamp(m_top, std::max(0, m_current - kRows + 1), std::max(0, m_current));
        update();
    }
    void paintRow(QPainter& p, int row);

    std::vector<PermissionStore::Entry> m_items;
    int m_current = -1;
    int m_top = 0;
};

void DecisionList::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (m_items.empty()) {
        p.setFont(FormBuilder::font(layout::kSans825));
        p.setPen(QColor(kDetail));
        p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignCenter | Qt::TextWordWrap,
                   QStringLiteral("Nenhum site tem permissões guardadas: cada um pergunta "
                                  "antes."));
        return;
    }
    const int end = std::min(int(m_items.size()), m_top + kRows);
    for (int row = m_top; row < end; ++row)
        paintRow(p, row);
}

void DecisionList::paintRow(QPainter& p, int row)
{
    const PermissionStore::Entry& e = m_items[size_t(row)];
    const QRect box(0, (row - m_top) * kRowHeight, width(), kRowHeight);
    if (row == m_current) {
        p.fillRect(box, QColor(kCurrentFill));
        p.setPen(QColor(kCyan));
        p.drawRect(box.adjusted(0, 0, -1, -1));
    } else if (row > m_top) {
        p.setPen(QColor(kRule));
        p.drawLine(box.left() + 4, box.top(), box.right() - 4, box.top());
    }
    const int textWidth = box.width() - 8;
    const QFont origin = FormBuilder::font(layout::kSans825Bold);
    p.setFont(origin);
    p.setPen(Qt::white);
    p.drawText(QRect(box.left() + 4, box.top() + 2, textWidth, kRowHeight / 2),
               Qt::AlignLeft | Qt::AlignVCenter,
               originShown(e.origin, QFontMetrics(origin), textWidth));
    const QFont detail = FormBuilder::font(layout::kSans825);
    p.setFont(detail);
    p.setPen(QColor(e.decision == PermissionStore::Decision::Allow ? kDetail : kRefused));
    p.drawText(QRect(box.left() + 4, box.top() + kRowHeight / 2, textWidth, kRowHeight / 2 - 2),
               Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(detail).elidedText(detailOf(e), Qt::ElideRight, textWidth));
}

PermissionsForm::PermissionsForm()
    : AnswerForm(layout::PermissionsFormLayout)
    , lstDecisoes(new DecisionList(this))
{
    setControlLeft(lstDecisoes, kListLeft);
    setControlTop(lstDecisoes, kListTop);
    setControlWidth(lstDecisoes, kListWidth);
    connect(windowKey(Qt::Key_Down), &QShortcut::activated, lstDecisoes,
            [this] { lstDecisoes->step(1); });
    connect(windowKey(Qt::Key_Up), &QShortcut::activated, lstDecisoes,
            [this] { lstDecisoes->step(-1); });
    connectHandler(windowKey(Qt::Key_Delete), &QShortcut::activated, this,
                   &PermissionsForm::forgetChosen);
    connectHandler(&PermissionStore::Notifier::instance(), &PermissionStore::Notifier::forgotten,
                   this, &PermissionsForm::refill);
}

PermissionsForm::~PermissionsForm() = default;

PermissionsForm& PermissionsForm::open()
{
    std::vector<PermissionStore::Entry> entries = PermissionStore::decisions();
    PermissionsForm& form = Forms::get<PermissionsForm>();
    form.lstDecisoes->setEntries(std::move(entries));
    form.Show();
    return form;
}

void PermissionsForm::acceptAnswer() { rejectAnswer(); }

void PermissionsForm::refill() { lstDecisoes->setEntries(PermissionStore::decisions()); }

void PermissionsForm::forgetChosen()
{
    const int row = lstDecisoes->current();
    if (row < 0)
        return;
    // Copies: the list refills while the store announces.
    const PermissionStore::Entry chosen = lstDecisoes->entries().at(size_t(row));
    if (!PermissionStore::forget(chosen.origin, chosen.kind))
        refill(); // already forgotten elsewhere: the list was out of date
}
