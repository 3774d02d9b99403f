#include "core/BvlError.h"
#include "core/CodePage.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/SettingCodec.h"
#include "seem/values/TypedValueCheck.h"

#include <QtTest>

// The check made while a text is typed and the writer that stores it must agree in every
// code page the user can choose: what the check passes is written and reads back the same,
// what it refuses the writer refuses too.
class TypedValueCheckTest : public QObject
{
    Q_OBJECT
private slots:
    void checkAndWriterAgreeOnEveryCharacterOfEveryCodePage()
    {
        SettingStruct field;
        field.Type = quint8(SettingType::AnsiString);
        field.Offset = 0;
        field.MaxStringLength = 4;
        for (int number : CodePage::Supported()) {
            const CodePage::Scope chosen(number);
            int accepted = 0;
            for (int code = 1; code <= 0xFFFF; ++code) {
                const QString text = QString(QChar(char16_t(code)));
                const bool passes = CheckTypedValue(field, text) == TypedValueProblem::None;
                MemoryByteStore image(QByteArray(4, '\x55'));
                bool written = true;
                try {
                    SettingCodec::EncodeText(image, field, text);
                } catch (const BvlError &e) {
                    QCOMPARE(e.number(), ErrNo::TypeMismatch);
                    written = false;
                }
                if (passes != written)
                    QFAIL(qPrintable(QStringLiteral("%1, U+%2: the check says %3, the writer %4")
                                         .arg(CodePage::DisplayName(number))
                                         .arg(code, 4, 16, QLatin1Char('0'))
                                         .arg(passes ? "yes" : "no", written ? "yes" : "no")));
                if (written) {
                    ++accepted;
                    QCOMPARE(SettingCodec::DecodeText(image, field), text);
                }
            }
            // Every byte but the terminator stands for one character.
            QCOMPARE(accepted, 255);
        }
    }
};

QTEST_GUILESS_MAIN(TypedValueCheckTest)
#include "tst_typedvaluecheck.moc"
