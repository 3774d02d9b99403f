#include "support/Mnemonics.h"

#include <QAbstractButton>

#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenuBar>
#include <algorithm>

QString MnemonicOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (caption.at(i + 1) != QLatin1Char('&'))
            return QString(caption.at(i + 1)).toCaseFolded();
        ++i;
    }
    return QString();
}

namespace {
QStringList Clashes(const QString &where, const QStringList &captions, bool everyOneHasALetter)
{
    QHash<QString, QString> owner;
    QStringList faults;
    for (const QString &caption : captions) {
        const QString letter = MnemonicOf(caption);
        if (letter.isEmpty()) {
            // "...", "+" and "-" name no word to take a letter from: Tab reaches them.
            const bool symbolsOnly =
                std::none_of(caption.begin(), caption.end(), [](QChar c) { return c.isLetterOrNumber(); });
            if (everyOneHasALetter && !symbolsOnly)
                faults << QStringLiteral("%1: no letter in \"%2\"").arg(where, caption);
        } else if (owner.contains(letter)) {
            faults << QStringLiteral("%1: %2 in \"%3\" and \"%4\"").arg(where, letter, owner.value(letter), caption);
        } else {
            owner.insert(letter, caption);
        }
    }
    return faults;
}
}   // namespace

QStringList SharedMnemonics(const QString &level, const QList<QAction *> &actions)
{
    QStringList captions;
    for (const QAction *action : actions) {
        if (!action->isSeparator() && action->isVisible())
            captions << action->text();
    }
    return Clashes(level, captions, false);
}

QStringList WindowMnemonicFaults(const QString &where, QWidget *window)
{
    QStringList captions;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window || widget->inherits("QCheckBox"))
            continue;   // another window's, or a bit that only shows
        if (auto *button = qobject_cast<QAbstractButton *>(widget); button && !button->text().isEmpty())
            captions << button->text();
        else if (auto *box = qobject_cast<QGroupBox *>(widget); box && !box->title().isEmpty())
            captions << box->title();
        else if (auto *label = qobject_cast<QLabel *>(widget); label && label->buddy())
            captions << label->text();
        else if (auto *bar = qobject_cast<QMenuBar *>(widget)) {
            for (const QAction *action : bar->actions())
                captions << action->text();
        }
    }
    return Clashes(where, captions, true);
}
