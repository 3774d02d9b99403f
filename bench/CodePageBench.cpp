#include "CodePageBench.h"

#include "Median.h"

#include "core/CodePage.h"
#include "core/Cp1252.h"
#include "core/SettingFile.h"

#include <QStringDecoder>

namespace {

// The texts of the file's records as bytes, with every small letter moved above 0x7F: the
// texts of a file written in a non-Latin script, where no byte is ASCII letter.
QList<QByteArray> ScriptTexts(const GeneratedDocument &doc)
{
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(doc.secPath, header, settings);
    QList<QByteArray> texts;
    for (const SettingStruct &s : settings) {
        for (const QString *text : {&s.Name, &s.Description, &s.Group, &s.ValueNames, &s.Values}) {
            QByteArray bytes = text->toLatin1();
            for (char &c : bytes)
                if (c >= 'a' && c <= 'z')
                    c = char(quint8(c) + 0x60);   // 0xC1..0xDA: letters in every code page offered
            texts << bytes;
        }
    }
    return texts;
}

template<typename Decode> double DecodeAll(int runs, const QList<QByteArray> &texts, Decode decode)
{
    return MedianMs(runs, [&] {
        qsizetype characters = 0;
        for (const QByteArray &text : texts)
            characters += decode(text).size();
        if (characters < 0)
            std::abort();   // keeps the work from being optimised away
    });
}

}   // namespace

void AddCodePageRows(ResultTable &table, const GeneratedDocument &doc, int runs)
{
    const QList<QByteArray> texts = ScriptTexts(doc);
    QStringDecoder qt1252("windows-1252", QStringDecoder::Flag::Stateless);
    QStringDecoder qt1251("windows-1251", QStringDecoder::Flag::Stateless);
    const double handWritten = DecodeAll(runs, texts, [](const QByteArray &t) { return Cp1252::decode(t); });
    const double qtWestern = DecodeAll(runs, texts, [&](const QByteArray &t) { return QString(qt1252.decode(t)); });
    const double tableCyrillic = DecodeAll(runs, texts, [](const QByteArray &t) { return CodePage::decode(1251, t); });
    const double qtCyrillic = DecodeAll(runs, texts, [&](const QByteArray &t) { return QString(qt1251.decode(t)); });
    table.add(QStringLiteral("texts (none ASCII)"), ResultTable::count(texts.size()));
    table.add(QStringLiteral("1252: hand-written decoder"), ResultTable::ms(handWritten));
    table.add(QStringLiteral("1252: Qt's converter"), ResultTable::ms(qtWestern));
    table.add(QStringLiteral("1251: table from Qt's converter"), ResultTable::ms(tableCyrillic));
    table.add(QStringLiteral("1251: Qt's converter"), ResultTable::ms(qtCyrillic));
    CodePage::Scope cyrillic(1251);
    table.add(QStringLiteral("`ReadSettingFile` in 1251"), ResultTable::ms(MedianMs(runs, [&] {
                  SettingFileHeader header;
                  SettingList settings;
                  ReadSettingFile(doc.secPath, header, settings);
              })));
}
