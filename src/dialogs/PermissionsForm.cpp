#include "dialogs/PermissionsForm.h"

#include "core/DisplayText.h"
#include "core/ErrorReporter.h"
#include "dialogs/PaintedList.h"
#include "forms/FormBuilder.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"
#include "storage/PermissionStore.h"

#include <QDateTime>
#include <QPainter>
#include <QShortcut>

namespace {
constexpr QRgb kDetail = layout::kSkinDetail;
constexpr QRgb kRefused = 0xFF9A8A;
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

// The decisions, one row each: the origin above what it is about.
class DecisionList : public PaintedList {
public:
    explicit DecisionList(QWidget* parent)
        : PaintedList(parent, QStringLiteral("lstDecisoes"), kRowHeight, kRows)
    {
    }

    void setEntries(std::vector<PermissionStore::Entry> entries)
    {
        m_items = std::move(entries);
        setCount(int(m_items.size()));
    }
    const std::vector<PermissionStore::Entry>& entries() const { return m_items; }

protected:
    void paintRow(QPainter& p, int row, const QRect& box) const override;
    QString emptyText() const override
    {
        return QStringLiteral("Nenhum site tem permissões guardadas: cada um pergunta antes.");
    }

private:
    std::vector<PermissionStore::Entry> m_items;
};

void DecisionList::paintRow(QPainter& p, int row, const QRect& box) const
{
    const PermissionStore::Entry& e = m_items[size_t(row)];
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
