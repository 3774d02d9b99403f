#pragma once
#include <QString>
#include <QVariant>   // the tags below are set as property values

class QObject;
class QWidget;
class LangTable;

// Tag of a control that takes part in localisation (dynamic property "Tag").
inline const char *const TagProperty = "Tag";
inline const QString TagCaption = QStringLiteral("LANGCP");
inline const QString TagText = QStringLiteral("LANGTX");

// window objectName + "." + control objectName; control-array elements are named
// "name(index)" already, so "bvlEditSettingDo.opType(3)".
QString ControlLangKey(const QWidget *window, const QObject *control);

// Sets the caption (LANGCP) or text (LANGTX) of every tagged widget and menu action of
// window from the table, in creation order. A missing key leaves the control unchanged;
// the first miss of a call shows the missing-string message, later ones pass silently.
// Then names the window's controls for assistive technology (NameControls).
void ApplyLanguage(LangTable &table, QWidget *window);
