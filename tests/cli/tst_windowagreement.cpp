// The main window and brimvale-cli show the same value for every setting: for the demo
// image, and for seeded random setting files over random images. The byte map's
// proposals over a folder of images are what propose drafts from them.
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"
#include "seem/authoring/BitCoverage.h"
#include "seem/values/SettingCodec.h"
#include "support/CliRun.h"
#include "support/EditorFixtures.h"
#include "support/MainFixtures.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlProposals.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QtTest>

using namespace MainFixtures;

namespace {

// A main window started in English in a folder that holds one setting file and one image.
struct OpenedInWindow
{
    ProgramFolder folder;
    ScriptedPlatform platform;
    AppContext ctx{platform};
    std::unique_ptr<bvlMain> window;
    QString image;

    OpenedInWindow(const QByteArray &sec, const QByteArray &imageBytes)
    {
        platform.folder = folder.dir.path();
        platform.preferences.insert(QStringLiteral("Lang/Language"),
                                    folder.copyLanguage(QStringLiteral("english.sel")));
        folder.writeBytes(QStringLiteral("settings.sec"), sec);
        image = folder.writeBytes(QStringLiteral("0032_0001.seem"), imageBytes);
        window = std::make_unique<bvlMain>(ctx);
        if (!window->Form_Load())
            return;
        platform.answerFile(image);
        window->mnfOpenSEEM_Click();
    }

    // What the setting's control shows, in the words show prints; null for no selection.
    QJsonValue shown(int index)
    {
        const SettingStruct &s = window->Settings.at(index - 1);
        QWidget *control = window->ControlOf(index);
        switch (SettingType(s.Type)) {
        case SettingType::Checkbox:
            return qobject_cast<QCheckBox *>(control)->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
        case SettingType::ValueList: {
            const auto *list = qobject_cast<QComboBox *>(control);
            return list->currentIndex() < 0 ? QJsonValue() : QJsonValue(list->currentText());
        }
        case SettingType::Int8:
            return qobject_cast<QLineEdit *>(control)->text().toInt();
        default:
            return qobject_cast<QLineEdit *>(control)->text();
        }
    }
};

void CompareWindowAndCli(const QByteArray &sec, const QByteArray &image, const QByteArray &what)
{
    OpenedInWindow opened(sec, image);
    QVERIFY2(opened.window->Settings.size() > 0, what.constData());
    const CliResult r = RunCliCaptured({QStringLiteral("show"), QStringLiteral("--format=json"), opened.image},
                                       opened.folder.dir.path());
    QVERIFY2(r.status == 0, qPrintable(r.err));
    const QJsonArray shown =
        QJsonDocument::fromJson(r.out.toUtf8()).object().value(QStringLiteral("settings")).toArray();
    QCOMPARE(shown.size(), opened.window->Settings.size());
    for (int i = 1; i <= shown.size(); ++i) {
        const SettingStruct &s = opened.window->Settings.at(i - 1);
        const QJsonValue cli = shown.at(i - 1).toObject().value(QStringLiteral("value"));
        QVERIFY2(cli == opened.shown(i),
                 qPrintable(QStringLiteral("%1, setting %2 \"%3\": cli %4, window %5")
                                .arg(QString::fromUtf8(what))
                                .arg(i)
                                .arg(s.Name)
                                .arg(cli.toVariant().toString(), opened.shown(i).toVariant().toString())));
    }
}

// A setting file the window accepts: every type, values inside their masks, lists with as
// many values as names, fields inside the image, names drawn from a few so that lists
// and groups repeat them.
QByteArray RandomSettingFile(QRandomGenerator &random, int imageSize)
{
    const QStringList words{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma"),
                            QStringLiteral("D\u00e9lta")};
    SettingList settings;
    const int count = random.bounded(1, 45);
    for (int i = 0; i < count; ++i) {
        SettingStruct s;
        s.Type = quint8(random.bounded(5));
        s.Name = words.at(random.bounded(words.size())) + QString::number(i);
        s.Group = words.at(random.bounded(2))
                  + (random.bounded(2) ? QStringLiteral("\\") + words.at(random.bounded(4)) : QString());
        s.BitMask = quint8(random.bounded(1, 256));
        const int fieldSize = random.bounded(0, 12);
        s.MaxStringLength = fieldSize;
        s.Offset = random.bounded(imageSize - qMax(1, fieldSize) + 1);
        QStringList values;
        QStringList names;
        const int states = s.Type == quint8(SettingType::Checkbox) ? 2 : random.bounded(1, 5);
        for (int k = 0; k < states; ++k) {
            values << QString::number(random.bounded(256) & s.BitMask);
            names << words.at(random.bounded(words.size()));
        }
        s.Values = JoinValues(values);
        if (s.Type == quint8(SettingType::ValueList))
            s.ValueNames = JoinValues(names);
        settings.append(s);
    }
    SettingFileHeader header = Header(0x32, 1);
    header.SettingCount = settings.size();
    return EncodeSettingFile(header, settings);
}

QByteArray RandomImage(QRandomGenerator &random, int size)
{
    QByteArray image(size, Qt::Uninitialized);
    for (char &byte : image)
        byte = char(random.bounded(4) == 0 ? 0 : random.bounded(256));   // zeros often, to end strings
    return image;
}

}   // namespace

class TestWindowAgreement : public QObject
{
    Q_OBJECT

private slots:
    void demoImage();
    void randomSettingFiles();
    void proposalsOverManyImages();
};

void TestWindowAgreement::demoImage()
{
    QFile sec(QStringLiteral(BVL_DATA_DIR "/demo-phone.sec"));
    QFile image(QStringLiteral(BVL_DATA_DIR "/0032_0001.seem"));
    QVERIFY(sec.open(QIODevice::ReadOnly) && image.open(QIODevice::ReadOnly));
    CompareWindowAndCli(sec.readAll(), image.readAll(), "demo");
}

void TestWindowAgreement::randomSettingFiles()
{
    QRandomGenerator random(20240612);
    for (int sample = 0; sample < 25; ++sample) {
        const int imageSize = random.bounded(16, 96);
        const QByteArray sec = RandomSettingFile(random, imageSize);
        CompareWindowAndCli(sec, RandomImage(random, imageSize), "sample " + QByteArray::number(sample));
        if (QTest::currentTestFailed())
            return;
    }
}

void TestWindowAgreement::proposalsOverManyImages()
{
    // The demo image and six phones' images differing from it in seeded random ways: in
    // four free bytes, in the bits of a byte left partly free, and in a name written into a
    // run of free bytes.
    const QString sec = QStringLiteral(BVL_DATA_DIR "/demo-phone.sec");
    const QString demo = QStringLiteral(BVL_DATA_DIR "/0032_0001.seem");
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(sec, header, settings);
    QFile demoFile(demo);
    QVERIFY(demoFile.open(QIODevice::ReadOnly));
    const QByteArray original = demoFile.readAll();
    const BitCoverage coverage(settings, original.size());
    QVector<qint64> free, partly;
    qint64 run = -1;
    for (qint64 i = 0; i < original.size(); ++i) {
        const quint8 owned = coverage.ownedBits(i);
        if (owned == 0 && free.size() < 4 && i % 7 == 3)
            free << i;
        if (owned != 0 && owned != 0xFF && partly.isEmpty())
            partly << i;
        if (run < 0 && i >= 12 && owned == 0) {
            bool whole = true;
            for (qint64 k = i; k < i + 12 && whole; ++k)
                whole = k < original.size() && coverage.ownedBits(k) == 0 && !free.contains(k);
            if (whole)
                run = i;
        }
    }
    QVERIFY(free.size() == 4 && partly.size() == 1 && run >= 0);
    ProgramFolder folder;
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("phones"))));
    QRandomGenerator random(20261208);
    const QByteArray names[] = {"anna", "bob", "christina", "dan"};
    for (int phone = 0; phone < 6; ++phone) {
        QByteArray image = original;
        for (qint64 offset : free)
            image[offset] = char(random.bounded(phone < 3 ? 4 : 256));
        image[partly.first()] =
            char(image[partly.first()] ^ (random.bounded(256) & ~coverage.ownedBits(partly.first())));
        const QByteArray &name = names[random.bounded(4)];
        image.replace(run, name.size() + 1, name + '\0');
        folder.writeBytes(QStringLiteral("phones/0032_0001-%1.seem").arg(phone), image);
    }
    const QString phones = folder.file(QStringLiteral("phones"));

    const CliResult r =
        RunCliCaptured({QStringLiteral("propose"), QStringLiteral("--sec"), sec, demo, phones}, folder.dir.path());
    QVERIFY2(r.status == 0, qPrintable(r.err));
    SettingFileHeader drafted;
    SettingList cli;
    SettingFileFromJson(QJsonDocument::fromJson(r.out.toUtf8()).object(), drafted, cli);
    cli.remove(0, settings.size());
    QVERIFY(cli.size() >= 5);

    EditorFixture f;
    bvlEditSetting editor(f.ctx);
    PutRecords(editor, settings);
    f.platform.answerFile(demo);
    editor.mnfOpenReference_Click();
    f.platform.answerFiles({phones});
    editor.ByteMap()->cmSurveyImages_Click();
    SettingList window;
    QStringList support;
    OnNextModal([&](QDialog *dialog) {
        auto *p = static_cast<bvlProposals *>(dialog);
        window = p->CheckedSettings();
        for (int row = 0; row < p->lsProposals->topLevelItemCount(); ++row)
            support << p->lsProposals->topLevelItem(row)->text(bvlProposals::SupportColumn);
        p->cmCancel->click();
    });
    editor.ByteMap()->cmPropose_Click();
    QCOMPARE(window.size(), cli.size());
    for (int k = 0; k < cli.size(); ++k) {
        QCOMPARE(window[k], cli[k]);
        // The count the window shows is the one the description gives.
        QVERIFY2(cli[k].Description.startsWith(support[k] + QStringLiteral(" of 7 images: ")),
                 qPrintable(cli[k].Description));
    }
}

QTEST_MAIN(TestWindowAgreement)
#include "tst_windowagreement.moc"
