// The setting-file document without a window: every edit undone and redone, the unsaved
// state, the bytes a save gives back, another code page.
#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/SettingFile.h"
#include "seem/authoring/SettingFileDocument.h"
#include "support/SeemFixtures.h"

#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

namespace {

using Field = SettingFileDocument::HeaderField;

SettingStruct Named(const QString &name)
{
    SettingStruct s = SeemFixtures::Setting(SettingType::Int8, 0);
    s.Name = name;
    return s;
}

QStringList Names(const SettingFileDocument &document)
{
    QStringList names;
    for (const SettingStruct &s : document.records())
        names << s.Name;
    return names;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}   // namespace

class TestSettingFileDocument : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // Each edit, then undo to the start and redo to the end: every state comes back, and
    // the file is clean exactly where it started.
    void everyEditUndoesAndRedoes()
    {
        SettingFileDocument document;
        QUndoStack &undo = *document.undoStack();
        QList<QStringList> states{Names(document)};
        const auto step = [&](const std::function<void()> &edit) {
            edit();
            states << Names(document);
        };
        step([&] { document.appendRecords({Named("a"), Named("b"), Named("c")}, "Add"); });
        step([&] { document.insertRecord(2, Named("x"), "Insert"); });
        step([&] { document.replaceRecord(3, Named("B"), "Edit"); });
        step([&] { document.moveRecord(1, 4, "Move"); });
        step([&] { document.removeRecords({3, 1, 3}, "Delete"); });
        QCOMPARE(Names(document), QStringList({"B", "a"}));
        QCOMPARE(undo.count(), 5);

        document.replaceRecord(1, Named("B"), "Edit");   // equal: no step
        QCOMPARE(undo.count(), 5);

        for (int i = states.size() - 1; i > 0; --i) {
            QCOMPARE(Names(document), states.at(i));
            QVERIFY(!document.isClean());
            undo.undo();
        }
        QCOMPARE(Names(document), states.first());
        QVERIFY(document.isClean());
        for (int i = 1; i < states.size(); ++i) {
            undo.redo();
            QCOMPARE(Names(document), states.at(i));
        }
    }

    // Typing in a header box is one step per box, gone when typed back; the numbers are
    // texts until a save converts them, and a save refuses one that does not fit.
    void headerFieldsAreStepsAndNumbersConvertAtSave()
    {
        SettingFileDocument document;
        for (const char *typed : {"J", "Jo", "Joe"})
            document.setHeaderText(Field::Author, typed, "Header");
        QCOMPARE(document.undoStack()->count(), 1);
        document.setHeaderText(Field::SeemNumber, "10000", "Header");
        QCOMPARE(document.undoStack()->count(), 2);

        document.appendRecords({Named("a")}, "Add");
        try {
            document.save(m_dir.filePath("refused.sec"));
            QFAIL("a SEEM number of 10000 was saved");
        } catch (const BvlError &e) {
            QCOMPARE(e.number(), ErrNo::Overflow);
        }
        QVERIFY(!QFile::exists(m_dir.filePath("refused.sec")));
        QVERIFY(!document.isClean());

        document.undoStack()->undo();   // the record
        document.undoStack()->undo();   // the number
        QCOMPARE(document.headerText(Field::SeemNumber), QString());
        document.setHeaderText(Field::Author, "", "Header");   // typed back to empty
        document.undoStack()->undo();
        QCOMPARE(document.headerText(Field::Author), QString());
        QVERIFY(document.isClean());
    }

    // Read and saved unchanged, a file gives back its bytes; saved, the document is clean
    // and knows its new path.
    void unchangedFileSavesByteForByte()
    {
        const QString demo = QStringLiteral(BVL_DATA_DIR "/demo-phone.sec");
        SettingFileDocument document;
        document.read(demo);
        QCOMPARE(document.count(), 49);
        const QString copy = m_dir.filePath("copy.sec");
        document.save(copy);
        QCOMPARE(FileBytes(copy), FileBytes(demo));
        QCOMPARE(document.path(), copy);
        QVERIFY(document.isClean());

        // Bytes after the last record, which no reader uses, come back too.
        const QString longer = m_dir.filePath("longer.sec");
        QFile extended(longer);
        QVERIFY(extended.open(QIODevice::WriteOnly));
        extended.write(FileBytes(demo) + QByteArray("\x00tail\xff", 6));
        extended.close();
        document.read(longer);
        document.save(copy);
        QCOMPARE(FileBytes(copy), FileBytes(longer));

        QFile notes(m_dir.filePath("language.sec"));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("Main.LangName=English\r\n");
        notes.close();
        try {
            document.read(notes.fileName());
            QFAIL("a language file was read as a setting file");
        } catch (const BvlError &) {
        }
        QCOMPARE(document.path(), copy);   // the document is as it was
        QCOMPARE(document.count(), 49);
    }

    // Another code page reads each text from its bytes again; a clean file stays clean,
    // an unsaved one gets one step, and the file saved holds the same bytes either way.
    void codePageRereadsTheBytes()
    {
        const QByteArray bytes("\xC0\xE9", 2);
        SettingStruct record = Named(CodePage::decode(1252, bytes));
        SettingFileDocument document;
        document.appendRecords({record}, "Add");
        document.setCodePage(1251, "Windows-1251");
        QCOMPARE(document.record(1).Name, CodePage::decode(1251, bytes));
        QCOMPARE(document.undoStack()->count(), 1);
        QVERIFY(!document.isClean());
        document.undoStack()->undo();
        QCOMPARE(document.record(1).Name, record.Name);
        QCOMPARE(document.codePage(), 1252);
        document.undoStack()->redo();

        const QString path = m_dir.filePath("cyrillic.sec");
        document.save(path);
        document.setCodePage(1252, "Windows-1252");
        QVERIFY(document.isClean());
        QCOMPARE(document.record(1).Name, record.Name);
        const QString again = m_dir.filePath("again.sec");
        document.save(again);
        QCOMPARE(FileBytes(again), FileBytes(path));
    }
};

QTEST_GUILESS_MAIN(TestSettingFileDocument)
#include "tst_settingfiledocument.moc"
