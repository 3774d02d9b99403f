#pragma once
#include <QAction>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

// The mnemonic letter of a caption, folded; empty without one ("&&" is a plain "&").
QString MnemonicOf(const QString &caption);

// "Where: letter in "A" and "B"" for every letter that two visible items of one menu
// level share.
QStringList SharedMnemonics(const QString &level, const QList<QAction *> &actions);

// The same for the captions of one window's buttons, group boxes and labels with a box
// to go to, together with its menu bar's titles (all answer Alt and a letter), and
// "Where: no letter in "A"" for each of them without one.
QStringList WindowMnemonicFaults(const QString &where, QWidget *window);
