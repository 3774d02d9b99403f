#pragma once
#include <QObject>
#include <QString>

#include "lang/ApplyLanguage.h"

// objectName of element index of a control array: "chUI(3)".
inline QString ArrayElementName(const QString &arrayName, int index)
{
    return arrayName + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

// Marks a control for localisation of its caption ("LANGCP").
inline void TagForCaption(QObject *control)
{
    control->setProperty(TagProperty, TagCaption);
}
