#pragma once

#include "forms/Controls.h"

#include <QTest>
#include <QWidget>

// Raises the Click of a window's image or label control, by name.
inline void clickControl(QWidget* form, const QString& name)
{
    if (auto* image = form->findChild<ImageControl*>(name))
        Q_EMIT image->Click();
    else if (auto* label = form->findChild<LabelControl*>(name))
        Q_EMIT label->Click();
    else
        QFAIL(qPrintable(QStringLiteral("no image or label control named ") + name));
}
