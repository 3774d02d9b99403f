#pragma once
// Records made to meet every rule of a record, for tests that hold the doors to one
// verdict: every type code 0..5, string sizes 0 to 600 odd and even, bit masks 0 to 255,
// descriptions with CR LF and tabs, names and groups with "%1" and "%2", blank and empty
// names and groups, characters outside Windows-1252 (U+4E2D), value lists with no names,
// too few, too many or unreadable values, values outside a byte or the mask, and texts
// one byte longer than a setting file holds. The same list on every call.
#include "core/SettingTypes.h"

#include <QStringList>

inline SettingList GeneratedRecords()
{
    const QStringList names = {QStringLiteral("Volume"),    QString(),
                               QStringLiteral(" \t "),      QStringLiteral("Ring %1"),
                               QStringLiteral("%2 and %1"), QStringLiteral("\u4e2d"),
                               QStringLiteral("Tab\tName"), QStringLiteral("x")};
    const QStringList groups = {QStringLiteral("Sound"), QString(),
                                QStringLiteral("  "),    QStringLiteral("Calls\\%1"),
                                QStringLiteral("G%2"),   QStringLiteral("Net\\\u4e2d"),
                                QStringLiteral("Main")};
    const QStringList descriptions = {QString(), QStringLiteral("one\r\ntwo"), QStringLiteral("a\tb"),
                                      QStringLiteral("%1 of %2"), QStringLiteral("\u4e2d")};
    // Value names and values, "§"-joined.
    const QList<QPair<QString, QString>> lists = {
        {QString(), QString()},
        {QString(), QStringLiteral("1\u00a70")},
        {QStringLiteral("A\u00a7B"), QStringLiteral("0\u00a71")},
        {QStringLiteral("A\u00a7B\u00a7C"), QStringLiteral("0\u00a71")},
        {QString(), QStringLiteral("1\u00a72\u00a73")},
        {QStringLiteral("A"), QStringLiteral("x")},
        {QStringLiteral("A\u00a7B"), QStringLiteral("300\u00a7-1")},
        {QStringLiteral("A\u00a7B"), QStringLiteral("2\u00a7128")},
        {QStringLiteral("\u4e2d\u00a7B"), QStringLiteral("1\u00a70")},
        {QStringLiteral("%1\u00a7%2"), QStringLiteral("3\u00a73")},
        {QStringLiteral("A"), QStringLiteral("1\u00a7x")},
    };
    const quint8 masks[] = {0x01, 0x00, 0x03, 0x80, 0xFF, 0x0F, 0x81};
    SettingList records;
    // 601 is prime: i * 37 % 601 takes every size from 0 to 600 once in each 601 records.
    for (int i = 0; i < 1202; ++i) {
        SettingStruct s;
        s.Type = quint8(i % 6);
        s.Name = names.at(i / 2 % names.size());
        s.Group = groups.at(i / 3 % groups.size());
        s.Description = descriptions.at(i % descriptions.size());
        s.ValueNames = lists.at(i / 5 % lists.size()).first;
        s.Values = lists.at(i / 5 % lists.size()).second;
        s.BitMask = masks[i / 6 % 7];
        s.MaxStringLength = i * 37 % 601;
        s.Offset = i % 13 == 0 ? -1 : i % 50;
        s.UIIndex = i;
        records.append(s);
    }
    SettingStruct tooLong;
    tooLong.Type = quint8(SettingType::Int8);
    tooLong.Name = QStringLiteral("Long");
    tooLong.Group = QStringLiteral("Sound");
    tooLong.Description = QString(65536, QLatin1Char('d'));
    records.append(tooLong);
    tooLong.Description.clear();
    tooLong.Type = quint8(SettingType::ValueList);
    tooLong.BitMask = 1;
    tooLong.ValueNames = QString(65536, QLatin1Char('n'));
    tooLong.Values = QStringLiteral("0");
    records.append(tooLong);
    return records;
}
