#pragma once
class LangTable;
class QAccessibleEvent;
class QString;
class QWidget;

// Names every control of window for assistive technology (screen readers read the
// name, Qt hands it to AT-SPI). A control that a label stands for (the label's buddy)
// is named by the label's text, without its mnemonic and trailing colon; any other
// control takes "<window>.<control>_Accessible" from the language table when the table
// has that key. Names set by the window itself (a setting's control is named after
// its setting) are kept. Called again after each language change, so the names follow.
void NameControls(LangTable &table, QWidget *window);

// Gives control a new accessible description and tells assistive technology that it
// changed: setting it alone sends nothing a screen reader would hear.
void SetAccessibleDescription(QWidget *control, const QString &description);
// Where those events go: to Qt, which drops them while no screen reader listens (always,
// offscreen); tests listen here instead.
extern void (*SendAccessibleEvent)(QAccessibleEvent *event);

// Widens each label and button of window whose text is wider than the control; the
// built-in sizes stay the minimum. A widened label pushes the left edge of the control it
// stands for (its buddy, on the same row to its right) so that the two do not overlap,
// and a right-aligned label grows to the left. Called after each language change.
void FitControlsToText(QWidget *window);
