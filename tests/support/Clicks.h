#pragma once

#include "Parts.h"
#include "forms/Controls.h"

#include <QTest>
#include <QWidget>

// Raises the Click of a window's image or label control, by name.
inline void clickControl(QWidget* form, const QString& name)
{
    QWidget* c = part(form, name);
    if (auto* image = qobject_cast<ImageControl*>(c))
        Q_EMIT image->Click();
    else if (auto* label = qobject_cast<LabelControl*>(c))
        Q_EMIT label->Click();
    else
        QFAIL(qPrintable(QStringLiteral("no image or label control named ") + name));
}
