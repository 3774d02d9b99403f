#pragma once
#include <QHash>
#include <QString>

// The texts the program carries itself, for language files that lack a key.
//
// Language files made for an earlier version (every user's own translation) hold only
// the keys the program had then. A key added since takes its English text from the
// shipped English file, built into the program, without a message; the first version's
// keys keep their own rule (a message and "?", or the control's built-in caption).
namespace BuiltinTexts {

// True for a key every language file has had from the first version on.
bool IsFirstVersionKey(const QString &key);

// The built-in English text of key (keys compared without regard to case); false when
// the program carries none.
bool English(const QString &key, QString &value);

// Every built-in English text, by case-folded key: the texts of a start without any
// usable language file.
const QHash<QString, QString> &AllEnglish();

}   // namespace BuiltinTexts
