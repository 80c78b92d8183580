#include "forms/Accessible.h"

#include "forms/BaseForm.h"
#include "forms/Controls.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QMetaObject>

namespace {

class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(QWidget* w)
        : QAccessibleWidget(w, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        if (const QString tip = widget()->toolTip().trimmed(); !tip.isEmpty())
            return tip;
        if (auto* label = qobject_cast<QLabel*>(widget()))
            return label->text().trimmed();
        return {};
    }

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << pressAction();
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction())
            QMetaObject::invokeMethod(widget(), "Click", Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(name);
    }
};

bool isDecoration(const QWidget* w)
{
    if (qobject_cast<const ImageControl*>(w))
        return !Controls::isButton(w);
    return qobject_cast<const ShapeControl*>(w) || qobject_cast<const LineControl*>(w);
}

// A window whose children are only what a user can see and use.
class FormAccessible : public QAccessibleWidget {
public:
    explicit FormAccessible(QWidget* w)
        : QAccessibleWidget(w, QAccessible::Window)
    {
    }

    int childCount() const override { return int(shown().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> list = shown();
        return index >= 0 && index < list.size()
                   ? QAccessible::queryAccessibleInterface(list[index])
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child ? int(shown().indexOf(child->object())) : -1;
    }

private:
    QList<QWidget*> shown() const
    {
        QList<QWidget*> list;
        const QRect inside = widget()->rect();
        for (QWidget* w : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            // Carrier labels lie wholly outside the window.
            if (!w->isWindow() && !isDecoration(w) && inside.intersects(w->geometry()))
                list.append(w);
        }
        return list;
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    auto* w = qobject_cast<QWidget*>(object);
    if (!w)
        return nullptr;
    if ((className == QLatin1String("ImageControl") ||
         className == QLatin1String("LabelControl")) &&
        Controls::isButton(w))
        return new ButtonAccessible(w);
    if (className == QLatin1String("BaseForm"))
        return new FormAccessible(w);
    return nullptr;
}

} // namespace

void Accessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}
