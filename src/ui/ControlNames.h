#pragma once
#include <QLabel>
#include <QObject>
#include <QRect>
#include <QString>

#include "ui/language/ApplyLanguage.h"

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

// Names a new control and places it (geometry in pixels); returns it for chaining.
template<typename W> W *NamedAt(W *widget, const QString &name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

// A localised caption label with its built-in text.
inline QLabel *CaptionLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = NamedAt(new QLabel(text, parent), name, geometry);
    TagForCaption(label);
    return label;
}
