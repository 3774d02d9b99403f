#pragma once
#include "seem/profiles/ValueProfile.h"

#include <QByteArray>
#include <QVector>

#include <optional>

// A profile read in one pass over its text, without a JSON document in between: a profile
// of every setting is megabytes of JSON, and building the document took most of an apply.
//
// The pass takes the profiles the program writes and what people make of them by hand,
// and nothing it has any doubt about: an escape or a byte beyond ASCII in a key, a key
// twice in one object, any number but a whole one of up to 15 digits, a value of "value"
// that is not a string, true, false, null or such a number, an escaped half of a
// surrogate pair, text that is not UTF-8, deep nesting, or anything that is not JSON
// gives no result. ReadValueProfile, which has refused what is not JSON before, then reads
// the text through the JSON document, which accepts or refuses it with the words it
// always had. Where this pass gives a result, it is the one the document gives.
std::optional<QVector<ValueAssignment>> ReadPlainProfile(const QByteArray &json);
