#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"
#include "seem/values/SettingValueParse.h"
#include "seem/values/SettingValueText.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// A profile: the values of every setting of one image as JSON, to be put on another
// image. `brimvale-cli show --format json` prints it and `apply` takes it; the main
// window's Export values and Apply values write and read the very same form.
//
// {"image": NAME, "settingFile": NAME, "settings": [{"bits", "group", "name", "offset",
// "type", "value" (null and "reason" when it cannot be shown)}, ...]}: keys in
// alphabetical order, settings in file order, indented, UTF-8.

// The profile of the values image holds (the window passes the bytes its controls show).
// unreadable, when given, receives the number of settings whose bytes could not be read.
QByteArray ValueProfileJson(const QString &imageName, const QString &settingFileName, const SettingList &settings,
                            ByteStore &image, int *unreadable = nullptr);

// One value of a profile to put on an image: which setting, and the value in words.
struct ValueAssignment
{
    QString source;     // how messages name it: an argument as given; empty for a profile's entry
    QString query;      // 'GROUP\NAME', or NAME when unique
    QString words;      // the value, in the texts DecodeValueText gives
    int element = -1;   // a profile's entry: its place in "settings"

    bool operator==(const ValueAssignment &o) const
    {
        return source == o.source && query == o.query && words == o.words && element == o.element;
    }
};

// The query of a profile's entry: 'GROUP\NAME', or NAME when the group is empty.
QString ProfileQuery(const QString &group, const QString &name);

// How messages name an assignment: its source, or the JSON path of a profile's entry. A
// profile of every setting names each only when something is wrong with it.
QString AssignmentSource(const ValueAssignment &assignment);

// The assignments of a profile, null values left out. Throws JsonInputError naming the
// place of the first problem: the line and column of a text that is not JSON, else the
// JSON path.
QVector<ValueAssignment> ReadValueProfile(const QByteArray &json);
// The same, read through a JSON document whatever the text (ReadValueProfile takes a
// plain profile in one pass, PlainProfile.h).
QVector<ValueAssignment> ReadValueProfileDocument(const QByteArray &json);

// Assignments looked up and parsed for settings over an image of imageSize bytes.
struct ResolvedAssignment
{
    int index = 0;   // 1-based setting number
    ParsedValue value;
    bool unchanged = false;   // the setting already shows these words: nothing to write
    ValueText shown;          // what the setting showed in current
};

struct AssignmentProblem
{
    enum Kind {
        UnknownName,    // no setting is named query
        Ambiguous,      // query names several settings: candidates of them, the first few in settings
        Twice,          // settings.first() is assigned by an earlier assignment too
        Refused,        // the value does not fit settings.first(): reason says why
        OutsideImage,   // settings.first()'s bytes lie outside the image
    };
    Kind kind = UnknownName;
    QString source;
    QString query;
    QVector<int> settings;
    QString reason;
    int candidates = 0;
};

// The accepted assignments, in the order given; every refusal goes into problems. A value
// in the very words the setting shows in current is accepted as unchanged, even where
// it could not be written as typed (a string that fills its field without a terminator,
// a list name two entries share), so that a profile put back where it was read changes
// nothing and is refused by no door.
QVector<ResolvedAssignment> ResolveAssignments(const QVector<ValueAssignment> &assignments, const SettingList &settings,
                                               ByteStore &current, QVector<AssignmentProblem> &problems);
