#include "core/SettingFile.h"
#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

// Enter, Cancel and what the setting dialog stores, as a new user meets them: Enter takes
// what is typed in the box that has the focus, a focused button does what it says, a
// record keeps only the fields of its type, and a saved file is found again by its suffix.

namespace {

void fillInt8(bvlEditSettingDo &d, const QString &name)
{
    Ui(d).opType[int(SettingType::Int8)]->setChecked(true);
    Ui(d).txSettingName->setText(name);
    Ui(d).txSettingGroup->setText(QStringLiteral("Sound"));
}

// Focuses widget inside the shown dialog and presses Enter there.
void enterIn(QWidget *widget)
{
    widget->setFocus();
    PressKey(widget, Qt::Key_Return);
}

}   // namespace

class TestDialogKeys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void enterTakesTheTypedOffset_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<qint32>("offset");
        QTest::newRow("hex, new setting") << "txOffsetHex"
                                          << "1a" << false << 26;
        QTest::newRow("hex, edited setting") << "txOffsetHex"
                                             << "FF" << true << 255;
        QTest::newRow("dec, edited setting") << "txOffsetDec"
                                             << "40" << true << 40;
    }
    void enterTakesTheTypedOffset()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(bool, editing);
        QFETCH(qint32, offset);
        EditorFixture f;
        bvlEditSettingDo d(f.ctx, f.document, f.images);
        if (editing)
            d.ReadSettingStruct(MakeSetting(QStringLiteral("Volume"), QStringLiteral("Sound"), SettingType::Int8, 5));
        else
            d.ResetForm();
        fillInt8(d, QStringLiteral("Volume"));
        auto *typedBox = d.findChild<QLineEdit *>(box);
        OnNextModal([typedBox, typed](QDialog *) {
            typedBox->setText(typed);
            enterIn(typedBox);
        });
        d.exec();
        QVERIFY(f.platform.messages().isEmpty());
        QVERIFY(f.ctx.CurrentSettingOK);
        QCOMPARE(f.ctx.CurrentSetting.Offset, offset);
        // Both boxes show what was stored.
        QCOMPARE(Ui(d).txOffsetDec->text(), QString::number(offset));
    }

    void focusedButtonDoesWhatItSays()
    {
        EditorFixture f;
        bvlEditSettingDo d(f.ctx, f.document, f.images);
        d.ResetForm();
        fillInt8(d, QStringLiteral("Volume"));
        Ui(d).txOffsetDec->setText(QStringLiteral("3"));

        f.ctx.CurrentSettingOK = true;
        OnNextModal([&d](QDialog *) { enterIn(Ui(d).cmCancel); });
        d.exec();
        QVERIFY(!f.ctx.CurrentSettingOK);

        // "+" asks for a state and the dialog stays open; "-" removes it.
        Ui(d).opType[int(SettingType::ValueList)]->setChecked(true);
        f.platform.answerInput(QStringLiteral("Loud"));
        OnNextModal([&d](QDialog *dialog) {
            enterIn(Ui(d).cmAddSettingValue);
            QVERIFY(dialog->isVisible());
            QCOMPARE(Ui(d).cbSettingValueList->count(), 1);
            enterIn(Ui(d).cmRemoveSettingValue);
            QVERIFY(dialog->isVisible());
            QCOMPARE(Ui(d).cbSettingValueList->count(), 0);
            Ui(d).cmCancel->click();
        });
        d.exec();
        QVERIFY(!f.ctx.CurrentSettingOK);
        QVERIFY(f.platform.allAnswersUsed());
    }

    void recordKeepsOnlyTheFieldsOfItsType()
    {
        EditorFixture f;
        bvlEditSetting editor(f.ctx);
        OnNextModal([](QDialog *dialog) {
            auto *d = static_cast<bvlEditSettingDo *>(dialog);
            Ui(*d).opType[int(SettingType::ValueList)]->setChecked(true);
            Ui(*d).txSettingName->setText(QStringLiteral("Mode"));
            Ui(*d).txSettingGroup->setText(QStringLiteral("Display"));
            Ui(*d).txOffsetDec->setText(QStringLiteral("4"));
            Ui(*d).chBit[0]->setChecked(true);
            d->AddSafe(Ui(*d).cbSettingValueList, QStringLiteral("Off"));
            d->AddSafe(Ui(*d).cbSettingValueList, QStringLiteral("On"));
            Ui(*d).cmOK->click();
        });
        editor.cmAdd_Click();
        OnNextModal([](QDialog *dialog) {
            auto *d = static_cast<bvlEditSettingDo *>(dialog);
            // A ValueList begun, then turned into a string: only the string's fields count.
            Ui(*d).opType[int(SettingType::ValueList)]->setChecked(true);
            Ui(*d).chBit[2]->setChecked(true);
            Ui(*d).opType[int(SettingType::AnsiString)]->setChecked(true);
            Ui(*d).txSettingName->setText(QStringLiteral("Owner"));
            Ui(*d).txSettingGroup->setText(QStringLiteral("Phone"));
            Ui(*d).txOffsetDec->setText(QStringLiteral("8"));
            Ui(*d).txMaxStringLength->setText(QStringLiteral("12"));
            Ui(*d).cmOK->click();
        });
        editor.cmAdd_Click();
        QCOMPARE(editor.Document().records().size(), 2);
        const SettingStruct &list = editor.Document().records()[0];
        QCOMPARE(list.ValueNames, QStringLiteral("Off§On"));
        QCOMPARE(list.MaxStringLength, 0);
        const SettingStruct &text = editor.Document().records()[1];
        QCOMPARE(text.Type, quint8(SettingType::AnsiString));
        QCOMPARE(text.MaxStringLength, 12);
        QVERIFY(text.ValueNames.isEmpty());
        QVERIFY(text.Values.isEmpty());
        QCOMPARE(text.BitMask, quint8(0));
    }

    void savedNameGetsTheSettingFileSuffix_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "phone"
                                      << "phone.sec";
        QTest::newRow("trailing dot") << "phone."
                                      << "phone.sec";
        QTest::newRow("own extension kept") << "phone.bak"
                                            << "phone.bak";
    }
    void savedNameGetsTheSettingFileSuffix()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QTemporaryDir dir;
        EditorFixture f;
        bvlEditSetting editor(f.ctx);
        PutRecords(editor, {MakeSetting(QStringLiteral("Volume"), QStringLiteral("Sound"), SettingType::Int8)});
        f.platform.answerFile(dir.filePath(typed));
        QVERIFY(editor.SaveSettingFile());
        QVERIFY(QFileInfo::exists(dir.filePath(written)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
        SettingFileHeader header;
        SettingList settings;
        ReadSettingFile(dir.filePath(written), header, settings);
        QCOMPARE(settings.size(), 1);
    }
};

QTEST_MAIN(TestDialogKeys)
#include "tst_dialogkeys.moc"
