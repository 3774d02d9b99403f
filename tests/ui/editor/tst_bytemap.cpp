#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
#include "support/MainFixtures.h"
#include "ui/editor/ByteMapModel.h"
#include "ui/editor/InputMarks.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlProposals.h"

#include "ui/ThemeColours.h"
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTreeWidget>

#include <QAbstractItemModelTester>
#include <QtTest>

// The byte map beside the setting editor, its proposals, and the setting dialog's preview
// of what a setting reads from the reference and second image.

using MainFixtures::ProgramFolder;

namespace {

SettingStruct bits(const QString &name, SettingType type, qint32 offset, quint8 mask)
{
    SettingStruct s = MakeSetting(name, QStringLiteral("G"), type, offset);
    s.BitMask = mask;
    s.Values = type == SettingType::Checkbox ? QStringLiteral("%1§0").arg(mask) : QStringLiteral("0§%1").arg(mask);
    if (type == SettingType::ValueList)
        s.ValueNames = QStringLiteral("Off§On");
    return s;
}

// An editor holding settings over an 8-byte image: byte 0 shared by two settings
// without conflict, bit 1 of byte 1 owned twice, byte 2 and on undescribed.
struct MapFixture
{
    EditorFixture f;
    ProgramFolder folder;
    bvlEditSetting editor{f.ctx};
    QByteArray reference = QByteArray::fromHex("5501000000000000");

    MapFixture()
    {
        PutRecords(editor, {bits("Low", SettingType::Checkbox, 0, 0x0F), bits("High", SettingType::ValueList, 0, 0xF0),
                            bits("A", SettingType::Checkbox, 1, 0x03), bits("B", SettingType::Checkbox, 1, 0x06)});
        openImage(&bvlEditSetting::mnfOpenReference_Click, QStringLiteral("0032_0001.seem"), reference);
    }
    void openImage(void (bvlEditSetting::*command)(), const QString &name, const QByteArray &bytes)
    {
        f.platform.answerFile(folder.writeBytes(name, bytes));
        (editor.*command)();
    }
    QVariant colourOf(qint64 offset, int role = Qt::BackgroundRole)
    {
        ByteMapModel *model = editor.ByteMap()->model();
        return model->data(model->indexOf(offset), role);
    }
};

QColor stateColour(BitCoverage::ByteState state)
{
    return ByteMapModel::StateColour(state);
}

}   // namespace

class TestByteMap : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void modelKeepsTheItemModelContract()
    {
        // Every change of images and settings, from empty to larger, smaller and empty
        // again, with a second image of the same size and of another size.
        ByteMapModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QByteArray large(100, '\x11');
        model.setImages(large, QByteArray());
        QCOMPARE(model.rowCount(), 7);
        model.setSettings({bits("Low", SettingType::Checkbox, 0, 0x0F), bits("B", SettingType::Checkbox, 99, 0x06)});
        model.setImages(large, QByteArray(100, '\x12'));
        model.setCellReading(QStringLiteral("%1 %2 %3"), QStringLiteral("none"));
        model.setImages(QByteArray(20, '\x01'), QByteArray(5, '\x02'));
        QCOMPARE(model.rowCount(), 2);
        model.setSettings({});
        model.setImages(QByteArray(), QByteArray());
        QCOMPARE(model.rowCount(), 0);
    }

    void coloursFollowTheSettings()
    {
        MapFixture m;
        bvlByteMap *map = m.editor.ByteMap();
        QCOMPARE(map->model()->rowCount(), 1);
        QCOMPARE(m.colourOf(0).value<QColor>(), stateColour(BitCoverage::ByteState::Whole));
        QCOMPARE(m.colourOf(1).value<QColor>(), stateColour(BitCoverage::ByteState::Conflict));
        QCOMPARE(m.colourOf(2).value<QColor>(), stateColour(BitCoverage::ByteState::Undescribed));
        QCOMPARE(Ui(*map).lbCoverage->text(), QStringLiteral("8 bytes, 2 described (25%), 1 bits in conflict"));
        QCOMPARE(map->model()->data(map->model()->index(0, ByteMapModel::TextColumn), Qt::DisplayRole).toString(),
                 QStringLiteral("U......."));

        // Adding and deleting in the editor recolour the map at once.
        m.editor.AppendSettings({MakeSetting(QStringLiteral("Volume"), QStringLiteral("G"), SettingType::Int8, 2)});
        QCOMPARE(m.colourOf(2).value<QColor>(), stateColour(BitCoverage::ByteState::Whole));
        Ui(m.editor).lsSettings->setCurrentRow(0);
        Ui(m.editor).lsSettings->selectAll();
        m.editor.DeleteSel();
        QCOMPARE(m.colourOf(0).value<QColor>(), stateColour(BitCoverage::ByteState::Undescribed));
        QCOMPARE(Ui(*map).lbCoverage->text(), QStringLiteral("8 bytes, 0 described (0%), 0 bits in conflict"));
    }

    void differencesAndTheirNavigation()
    {
        MapFixture m;
        QByteArray second = m.reference;
        second[0] = char(0x57);   // inside owned bits
        second[3] = char(0x01);   // undescribed
        second[6] = char(0x80);
        m.openImage(&bvlEditSetting::mnfOpenSecond_Click, QStringLiteral("0032_0001-after.seem"), second);
        bvlByteMap *map = m.editor.ByteMap();
        QCOMPARE(m.colourOf(0).value<QColor>(), stateColour(BitCoverage::ByteState::Whole));
        QCOMPARE(m.colourOf(0, Qt::ForegroundRole).value<QColor>(),
                 ByteMapModel::DifferenceTextColour(stateColour(BitCoverage::ByteState::Whole)));
        QCOMPARE(m.colourOf(3).value<QColor>(), ByteMapModel::UndescribedDifferenceColour());
        QCOMPARE(m.colourOf(4, Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));

        map->cmNext_Click();
        QCOMPARE(map->SelectedByte(), qint64(3));
        QVERIFY(Ui(*map).chSecondBit[0]->isChecked());
        QVERIFY(!Ui(*map).chReferenceBit[0]->isChecked());
        map->cmNext_Click();
        QCOMPARE(map->SelectedByte(), qint64(6));
        map->cmNext_Click();   // around the end
        QCOMPARE(map->SelectedByte(), qint64(3));
        map->cmPrevious_Click();
        QCOMPARE(map->SelectedByte(), qint64(6));

        // A second image of another length is refused and the first stays.
        m.openImage(&bvlEditSetting::mnfOpenSecond_Click, QStringLiteral("short.seem"), QByteArray(7, '\0'));
        QCOMPARE(m.f.platform.messages().size(), 1);
        QVERIFY(m.editor.Images().images().secondName() == QStringLiteral("0032_0001-after.seem"));
    }

    // The map, wider than a small screen before, opens whole inside the screen's free
    // area; the proposals too.
    void openInsideTheScreenAndStepIntoView()
    {
        MapFixture m;
        QByteArray reference(4096, '\0');
        m.openImage(&bvlEditSetting::mnfOpenReference_Click, QStringLiteral("0032_0001.seem"), reference);
        QByteArray second = reference;
        second[16] = char(0x01);
        second[4090] = char(0x02);
        m.openImage(&bvlEditSetting::mnfOpenSecond_Click, QStringLiteral("0032_0001-after.seem"), second);
        m.editor.mnfByteMap_Click();
        bvlByteMap *map = m.editor.ByteMap();
        QVERIFY(QTest::qWaitForWindowExposed(map));
        const QRect available = map->screen()->availableGeometry();
        QVERIFY(available.contains(map->frameGeometry()));

        // Stepping back from nothing reaches the last difference: its row is drawn whole
        // in the view, however the details below grew with the selection.
        map->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(map));
        for (int step = 0; step < 3; ++step) {
            QTest::keyClick(map, Qt::Key_F3, step == 1 ? Qt::NoModifier : Qt::ShiftModifier);
            QCoreApplication::processEvents();
            const qint64 expected = step == 1 ? 16 : 4090;
            QCOMPARE(map->SelectedByte(), expected);
            const QRect row = Ui(*map).tvBytes->visualRect(map->model()->indexOf(expected));
            QVERIFY2(Ui(*map).tvBytes->viewport()->rect().contains(row),
                     qPrintable(QStringLiteral("step %4 row %1..%2 of %3 sb %5/%6 hsb %7")
                                    .arg(row.top())
                                    .arg(row.bottom())
                                    .arg(Ui(*map).tvBytes->viewport()->height())
                                    .arg(step)
                                    .arg(Ui(*map).tvBytes->verticalScrollBar()->value())
                                    .arg(Ui(*map).tvBytes->verticalScrollBar()->maximum())
                                    .arg(Ui(*map).tvBytes->horizontalScrollBar()->isVisible())));
        }

        bool inside = false;
        OnNextModal([&](QDialog *dialog) {
            inside = available.contains(dialog->frameGeometry());
            dialog->reject();
        });
        map->cmPropose_Click();
        QVERIFY(inside);
        map->close();
    }

    void ownersOfTheSelectedByteOpenTheirSetting()
    {
        MapFixture m;
        bvlByteMap *map = m.editor.ByteMap();
        map->SelectByte(1);
        QCOMPARE(Ui(*map).lbSelected->text(),
                 QStringLiteral("Byte 1 (0x1): 00000001 in the reference image, - in the second image"));
        auto *openB = map->findChild<QPushButton *>(QStringLiteral("cmOpenSetting(4)"));
        QVERIFY(openB);
        QVERIFY(map->findChild<QPushButton *>(QStringLiteral("cmOpenSetting(3)")));
        OnNextModal([](QDialog *dialog) {
            auto *d = static_cast<bvlEditSettingDo *>(dialog);
            QCOMPARE(Ui(*d).txSettingName->text(), QStringLiteral("B"));
            Ui(*d).cmCancel->click();
        });
        openB->click();
    }

    void newSettingFromSelectionIsPrefilled()
    {
        MapFixture m;
        QByteArray second = m.reference;
        second[2] = char(0x01);
        m.openImage(&bvlEditSetting::mnfOpenSecond_Click, QStringLiteral("0032_0001-after.seem"), second);
        bvlByteMap *map = m.editor.ByteMap();
        map->SelectByte(2);
        OnNextModal([](QDialog *dialog) {
            auto *d = static_cast<bvlEditSettingDo *>(dialog);
            QVERIFY(Ui(*d).opType[int(SettingType::Checkbox)]->isChecked());
            QCOMPARE(Ui(*d).txOffsetDec->text(), QStringLiteral("2"));
            QCOMPARE(d->SelectedBits, quint8(0x01));
            QCOMPARE(Ui(*d).txSettingGroup->text(), QStringLiteral("Proposed"));
            QCOMPARE(Ui(*d).txSettingName->text(), QStringLiteral("Byte 0x0002, bit 0"));
            QCOMPARE(Ui(*d).txCheckedValue->text(), QStringLiteral("00000001"));
            QCOMPARE(Ui(*d).lbPreviewReference->text(),
                     QStringLiteral("Reference image: unchecked (byte 2 (0x2) = 00000000)"));
            QCOMPARE(Ui(*d).lbPreviewSecond->text(), QStringLiteral("Second image: checked (byte 2 (0x2) = 00000001)"));
            Ui(*d).cmOK->click();
        });
        map->cmNewSetting_Click();
        QCOMPARE(m.editor.Document().records().size(), 5);
        QCOMPARE(m.editor.Document().records().last().Name, QStringLiteral("Byte 0x0002, bit 0"));
        QVERIFY(!m.editor.FileSaved());
        QVERIFY(m.colourOf(2) != QVariant(ByteMapModel::UndescribedDifferenceColour()));
    }

    void checkedProposalsAreAdded()
    {
        MapFixture m;
        QByteArray second = m.reference;
        second[3] = char(0x01);
        second[5] = char(0x0E);
        m.openImage(&bvlEditSetting::mnfOpenSecond_Click, QStringLiteral("0032_0001-after.seem"), second);
        OnNextModal([](QDialog *dialog) {
            auto *p = static_cast<bvlProposals *>(dialog);
            QCOMPARE(p->lsProposals->topLevelItemCount(), 2);
            QCOMPARE(p->lsProposals->topLevelItem(1)->text(bvlProposals::TypeColumn), QStringLiteral("Int8"));
            p->lsProposals->topLevelItem(0)->setCheckState(bvlProposals::OffsetColumn, Qt::Unchecked);
            p->cmAdd->click();
        });
        m.editor.ByteMap()->cmPropose_Click();
        QCOMPARE(m.editor.Document().records().size(), 5);
        QCOMPARE(m.editor.Document().records().last().Offset, 5);
        QCOMPARE(Ui(m.editor).lsSettings->count(), 5);
    }

    // Images from a folder: each byte coloured by how many values it took, the bits that
    // vary and those no setting describes in the tool tip, the details and the proposals.
    void surveyOfAFolderShowsWhatVaries()
    {
        MapFixture m;
        QVERIFY(QDir().mkpath(m.folder.file(QStringLiteral("more"))));
        m.folder.writeBytes(QStringLiteral("more/a.seem"), QByteArray::fromHex("5501000100000000"));
        m.folder.writeBytes(QStringLiteral("more/b.seem"), QByteArray::fromHex("5709000300000000"));
        m.folder.writeBytes(QStringLiteral("more/c.seem"), QByteArray::fromHex("5501000200000001"));
        m.folder.writeBytes(QStringLiteral("more/short.seem"), QByteArray(7, '\0'));
        bvlByteMap *map = m.editor.ByteMap();
        // The reference chosen again with the folder counts once.
        m.f.platform.answerFiles({m.folder.file(QStringLiteral("more")), m.editor.Images().images().referencePath});
        map->cmSurveyImages_Click();
        QCOMPARE(m.f.platform.messages().size(), 1);
        QVERIFY2(m.f.platform.messages().first().contains(QStringLiteral("short.seem")),
                 qPrintable(m.f.platform.messages().first()));
        QVERIFY2(map->windowTitle().endsWith(QStringLiteral(" + 4 images")), qPrintable(map->windowTitle()));

        using Variation = ByteMapModel::Variation;
        QCOMPARE(m.colourOf(0).value<QColor>(), ByteMapModel::VariationColour(Variation::Two));
        QCOMPARE(m.colourOf(3).value<QColor>(), ByteMapModel::VariationColour(Variation::Few));
        QCOMPARE(m.colourOf(2).value<QColor>(), stateColour(BitCoverage::ByteState::Undescribed));
        // Described bits vary in byte 0, bit 3 of byte 1 no setting owns: only that one is underlined.
        QVERIFY(!m.colourOf(0, Qt::FontRole).value<QFont>().underline());
        QVERIFY(m.colourOf(1, Qt::FontRole).value<QFont>().underline());
        QCOMPARE(m.colourOf(1, Qt::ToolTipRole).toString(),
                 QStringLiteral("2 values over 4 images; bits that vary: 00001000; undescribed: 00001000"));
        QCOMPARE(m.colourOf(0, Qt::ToolTipRole).toString(),
                 QStringLiteral("2 values over 4 images; bits that vary: 00000010; undescribed: 00000000"));
        QVERIFY(map->findChild<QLabel *>(QStringLiteral("lbLegendVariesFew"))->isVisibleTo(map));
        QVERIFY(!map->findChild<QLabel *>(QStringLiteral("lbLegendDiffers"))->isVisibleTo(map));

        map->cmNext_Click();
        QCOMPARE(map->SelectedByte(), qint64(1));
        map->cmNext_Click();
        QCOMPARE(map->SelectedByte(), qint64(3));
        QVERIFY(Ui(*map).chSecondBit[0]->isChecked() && Ui(*map).chSecondBit[1]->isChecked());
        QVERIFY(!Ui(*map).chSecondBit[2]->isChecked());
        QVERIFY(Ui(*map).chSecondBit[1]->font().bold());
        QVERIFY2(Ui(*map).lbSelected->text().endsWith(QStringLiteral("4 values over 4 images")),
                 qPrintable(Ui(*map).lbSelected->text()));
        map->cmNext_Click();
        QCOMPARE(map->SelectedByte(), qint64(7));

        OnNextModal([](QDialog *dialog) {
            auto *p = static_cast<bvlProposals *>(dialog);
            QCOMPARE(p->lsProposals->topLevelItemCount(), 3);
            QCOMPARE(p->lsProposals->headerItem()->text(bvlProposals::FirstColumn), QStringLiteral("Values seen"));
            QVERIFY(p->lsProposals->isColumnHidden(bvlProposals::SecondColumn));
            const QTreeWidgetItem *list = p->lsProposals->topLevelItem(1);
            QCOMPARE(list->text(bvlProposals::TypeColumn), QStringLiteral("ValueList"));
            QCOMPARE(list->text(bvlProposals::FirstColumn),
                     QStringLiteral("0x00 (1 image), 0x01 (1 image), 0x02 (1 image), 0x03 (1 image)"));
            QCOMPARE(list->text(bvlProposals::SupportColumn), QStringLiteral("3"));
            QCOMPARE(p->lsProposals->topLevelItem(0)->text(bvlProposals::SupportColumn), QStringLiteral("1"));
            p->cmAdd->click();
        });
        map->cmPropose_Click();
        QCOMPARE(m.editor.Document().records().size(), 7);
        QCOMPARE(m.editor.Document().records().at(5).Description,
                 QStringLiteral("3 of 4 images: 0x00 (1 image), 0x01 (1 image), 0x02 (1 image), 0x03 (1 image)"));
        QVERIFY(map->model()->undescribedDifferences().isEmpty());

        // A second image replaces the survey.
        m.openImage(&bvlEditSetting::mnfOpenSecond_Click, QStringLiteral("0032_0001-after.seem"), m.reference);
        QVERIFY(!map->model()->hasSurvey());
        QVERIFY(map->findChild<QLabel *>(QStringLiteral("lbLegendDiffers"))->isVisibleTo(map));
    }

    void previewLineForEachType_data()
    {
        QTest::addColumn<SettingStruct>("setting");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<bool>("warning");
        SettingStruct list = bits("Mode", SettingType::ValueList, 0, 0xF0);
        list.Values = QStringLiteral("0§80");
        QTest::newRow("Checkbox") << bits("Beep", SettingType::Checkbox, 0, 0x01)
                                  << "Reference image: checked (byte 0 (0x0) = 01010101)" << false;
        QTest::newRow("ValueList") << list << "Reference image: On (byte 0 (0x0) = 01010101)" << false;
        QTest::newRow("Int8") << MakeSetting("Volume", "G", SettingType::Int8, 1)
                              << "Reference image: 1 (byte 1 (0x1) = 00000001)" << false;
        SettingStruct ansi = MakeSetting("Owner", "G", SettingType::AnsiString, 2);
        ansi.MaxStringLength = 4;
        QTest::newRow("AnsiString") << ansi << "Reference image: \"AB\" (bytes 2 (0x2) to 5 (0x5))" << false;
        SettingStruct wide = MakeSetting("Greeting", "G", SettingType::UnicodeString, 4);
        wide.MaxStringLength = 4;
        QTest::newRow("UnicodeString") << wide << "Reference image: \"C\" (bytes 4 (0x4) to 7 (0x7))" << false;
        QTest::newRow("past the end") << MakeSetting(
            "Far", "G", SettingType::Int8,
            8) << "Reference image: cannot be read, the setting's bytes lie past the end of the image"
                                      << true;
        SettingStruct unmatched = list;
        unmatched.Values = QStringLiteral("0§16");
        QTest::newRow("no value matching") << unmatched << "" << true;
    }
    void previewLineForEachType()
    {
        QFETCH(SettingStruct, setting);
        QFETCH(QString, reference);
        QFETCH(bool, warning);
        EditorFixture f;
        f.images.setReference(QStringLiteral("0032_0001.seem"), QByteArray::fromHex("5501414200430000"));
        f.document.appendRecords({bits("Shared", SettingType::Checkbox, 0, 0x81)}, QStringLiteral("Add"));
        bvlEditSettingDo d(f.ctx, f.document, f.images);
        d.ResetForm();
        d.ReadSettingStruct(setting);
        d.SetEditedRecord(0);
        QVERIFY(Ui(d).lbPreviewReference->isVisibleTo(&d));
        if (!reference.isEmpty())
            QCOMPARE(Ui(d).lbPreviewReference->text(), reference);
        const QColor warningColour = ThemeColours::ForPalette(ThemeColours::Warning, d.palette());
        QCOMPARE(Ui(d).lbPreviewReference->palette().color(QPalette::WindowText) == warningColour, warning);
        QVERIFY(Ui(d).lbPreviewSecond->text().isEmpty());
        // Only bit-sharing settings are named, in the warning colour; OK stays possible.
        const bool shares = setting.Offset == 0 && (setting.BitMask & 0x81);
        QCOMPARE(Ui(d).lbPreviewOverlap->text(),
                 shares ? QStringLiteral("Owns bits that these settings own too: Shared") : QString());
        QCOMPARE(Ui(d).lbPreviewOverlap->palette().color(QPalette::WindowText), warningColour);
        Ui(d).txSettingName->setText(QStringLiteral("n"));
        Ui(d).txSettingGroup->setText(QStringLiteral("g"));
        QVERIFY(d.WriteSettingStruct(f.ctx.CurrentSetting));

        // The preview follows the fields as they change.
        Ui(d).opType[int(SettingType::Int8)]->setChecked(true);
        Ui(d).txOffsetDec->setText(QStringLiteral("1"));
        QCOMPARE(Ui(d).lbPreviewReference->text(), QStringLiteral("Reference image: 1 (byte 1 (0x1) = 00000001)"));
    }
};

QTEST_MAIN(TestByteMap)
#include "tst_bytemap.moc"
