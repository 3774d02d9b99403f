#include "core/JsonFields.h"
#include "seem/profiles/PlainProfile.h"
#include "seem/profiles/ValueProfile.h"

#include <QtTest>

#include <functional>

// A profile read in one pass must give what the JSON document gives, and leave to it
// every text it is unsure of, so that refusals keep their words.
class TestPlainProfile : public QObject
{
    Q_OBJECT

    // What the document reader gives: the assignments, or its refusal as "path: problem".
    static QString DocumentReading(const QByteArray &json, QVector<ValueAssignment> &assignments)
    {
        try {
            assignments = ReadValueProfileDocument(json);
            return QString();
        } catch (const JsonInputError &e) {
            return e.path() + QStringLiteral(": ") + e.problem();
        }
    }

private slots:
    void readsWhatTheDocumentReads_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("plain");   // read in one pass
        const auto row = [](const char *name, const char *json, bool plain) {
            QTest::newRow(name) << QByteArray(json) << plain;
        };
        row("as show writes it",
            "{\n    \"image\": \"0032_0001.seem\",\n    \"settingFile\": \"a.sec\",\n    \"settings\": [\n"
            "        {\"bits\": \"0x01\", \"group\": \"Net\", \"name\": \"Beep\", \"offset\": 0, \"type\": "
            "\"Checkbox\","
            " \"value\": \"on\"},\n        {\"group\": \"Net\", \"name\": \"Gone\", \"reason\": \"x\", \"value\": "
            "null}\n"
            "    ]\n}\n",
            true);
        row("no group, numbers, true and false",
            R"({"settings":[{"name":"A","value":-12},{"name":"B","value":true},{"value":false,"name":"C","group":""}]})",
            true);
        row("escapes and UTF-8 in texts",
            "{\"settings\":[{\"group\":\"Net\\\\GPRS\",\"name\":\"Gr\xC3\xBC\xC3\x9F"
            "e\",\"value\":\"a\\\"b\\/c\\u00e9\\n\\u0000\"}]}",
            true);
        row("other keys of every kind", R"({"x":{"y":[1,-20,{"z":null},true],"w":"\u00e9t\u00e9"},"settings":[]})",
            true);
        row("minus zero", R"({"settings":[{"name":"A","value":-0}]})", true);
        row("fifteen digits", R"({"settings":[{"name":"A","value":999999999999999}]})", true);

        row("a fraction passed over", R"({"x":2.5e-3,"settings":[]})", false);
        row("a number too large for a double passed over", R"({"x":1e400,"settings":[]})", false);
        row("a surrogate pair passed over", R"({"x":"\ud83d\ude00","settings":[]})", false);
        row("not UTF-8 in a text passed over",
            "{\"bits\":\"22\xDF"
            "bytes\",\"settings\":[]}",
            false);
        row("sixteen digits", R"({"settings":[{"name":"A","value":1000000000000000}]})", false);
        row("a fraction", R"({"settings":[{"name":"A","value":2.0}]})", false);
        row("an exponent", R"({"settings":[{"name":"A","value":1e2}]})", false);
        row("a key twice", R"({"settings":[{"name":"A","name":"B","value":1}]})", false);
        row("settings twice", R"({"settings":[{"name":"A","value":1}],"settings":[]})", false);
        row("a key twice deep inside", R"({"x":[{"a":1,"a":2}],"settings":[]})", false);
        row("an escaped key", R"({"settings":[{"n\u0061me":"A","value":1}]})", false);
        row("a NUL in a key", R"({"settings":[],"a\u0000":1})", false);
        row("a surrogate pair in a value", R"({"settings":[{"name":"A","value":"\ud83d\ude00"}]})", false);
        row("half a surrogate pair", R"({"settings":[{"name":"A","value":"\ud800"}]})", false);
        row("not UTF-8", "{\"settings\":[{\"name\":\"A\xFF\",\"value\":1}]}", false);
        row("a byte order mark", "\xEF\xBB\xBF{\"settings\":[]}", false);
        row("text after the object", R"({"settings":[]} x)", false);
        row("a raw tab in a text", "{\"settings\":[{\"name\":\"A\tB\",\"value\":1}]}", false);
        row("an unknown escape", R"({"settings":[{"name":"A\qB","value":1}]})", false);
        row("a leading zero", R"({"settings":[{"name":"A","value":01}]})", false);
        row("a trailing comma", R"({"settings":[{"name":"A","value":1},]})", false);
        row("no settings", R"({"image":"x"})", false);
        row("settings not an array", R"({"settings":{}})", false);
        row("an entry not an object", R"({"settings":[1]})", false);
        row("no name", R"({"settings":[{"value":1}]})", false);
        row("no value", R"({"settings":[{"name":"A"}]})", false);
        row("a group that is no string", R"({"settings":[{"name":"A","group":null,"value":1}]})", false);
        row("a value that is a list", R"({"settings":[{"name":"A","value":[1]}]})", false);
        row("cut short", R"({"settings":[{"name":"A","value":1})", false);
        row("empty", "", false);
    }
    void readsWhatTheDocumentReads()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, plain);
        QVector<ValueAssignment> byDocument;
        const QString refusal = DocumentReading(json, byDocument);
        const std::optional<QVector<ValueAssignment>> inOnePass = ReadPlainProfile(json);
        QCOMPARE(inOnePass.has_value(), plain);
        if (inOnePass) {
            QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
            QCOMPARE(*inOnePass, byDocument);
        }
        // Whichever way it went, the reader everyone calls answers as the document does.
        QVector<ValueAssignment> read;
        try {
            read = ReadValueProfile(json);
            QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
            QCOMPARE(read, byDocument);
        } catch (const JsonInputError &e) {
            QCOMPARE(e.path() + QStringLiteral(": ") + e.problem(), refusal);
        }
    }

    // Both readers, and the setting file's, refuse what is not JSON in the same words, with
    // the line and column (in characters) of the fault; QJsonDocument alone takes most.
    void refusesWhatIsNotJson_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char *name, const QByteArray &json, const char *refusal) {
            QTest::newRow(name) << json << QStringLiteral("$: not JSON at %1").arg(QString::fromUtf8(refusal));
        };
        row("a raw tab", "{\"settings\":[{\"name\":\"A\tB\",\"value\":1}]}",
            "line 1, column 24: a control character (U+0009) in a string");
        row("a raw NUL", QByteArray("{\"x\":\"a\0\"}", 10),
            "line 1, column 8: a control character (U+0000) in a string");
        row("an unknown escape",
            "{\n  \"settings\": [\n    {\"name\": \"Greeting\", \"value\": \"C:\\quotes\"}\n  ]\n}\n",
            "line 3, column 38: unknown escape \\q");
        row("a short \\u", R"({"settings":[],"x":"\u12G4"})", "line 1, column 21: \\u without four hexadecimal digits");
        row("a trailing comma in an array", R"({"settings":[{"name":"A","value":1},]})",
            "line 1, column 36: a trailing comma");
        row("a trailing comma in an object", R"({"settings":[],})", "line 1, column 15: a trailing comma");
        row("a comment", R"({"settings":[]} // a profile)", "line 1, column 17: a comment, which JSON does not have");
        row("a point without digits", R"({"settings":[],"x":1.})", "line 1, column 22: expected a digit");
        row("a fraction without a whole part", R"({"settings":[],"x":.5})", "line 1, column 20: expected a value");
        row("single quotes", "{'settings':[]}", "line 1, column 2: expected a key in double quotes");
        row("not UTF-8 after a wide character", "{\"\xC3\xA9\":\"\xFF\"}",
            "line 1, column 6: a string that is not UTF-8");
        row("text after the end", R"({"settings":[]} x)", "line 1, column 17: expected the end of the text");
        row("cut short in a string", "{\"settings\":[{\"name\":\"A", "line 1, column 22: a string that is not closed");
        row("empty", "", "line 1, column 1: the text ends where a value is due");
        // JSON that QJsonDocument cannot hold: its own limits, in its words.
        row("too deep", "{\"settings\":[],\"x\":" + QByteArray(1100, '[') + QByteArray(1100, ']') + "}",
            "line 1, column 1044: too deeply nested document");
        row("beyond a double", R"({"settings":[],"x":1e400})", "line 1, column 25: illegal number");
    }
    void refusesWhatIsNotJson()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, refusal);
        const std::function<void()> readers[] = {
            [&] { ReadValueProfile(json); },
            [&] { ReadValueProfileDocument(json); },
            [&] { ParseJsonObject(json); },
        };
        for (const auto &read : readers) {
            try {
                read();
                QFAIL("accepted");
            } catch (const JsonInputError &e) {
                QCOMPARE(e.number(), int(ErrNo::TypeMismatch));
                QCOMPARE(e.path() + QStringLiteral(": ") + e.problem(), refusal);
            }
        }
    }

    void messagesNameTheEntry()
    {
        const QVector<ValueAssignment> read =
            ReadValueProfile(R"({"settings":[{"name":"A","value":null},{"group":"G","name":"B","value":"x"}]})");
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.first().query, QStringLiteral("G\\B"));
        QCOMPARE(AssignmentSource(read.first()), QStringLiteral("$.settings[1]"));
    }
};

QTEST_APPLESS_MAIN(TestPlainProfile)
#include "tst_plainprofile.moc"
