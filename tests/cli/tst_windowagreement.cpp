// The main window and brimvale-cli show the same value for every setting: for the demo
// image, and for seeded random setting files over random images.
#include "seem/values/SettingCodec.h"
#include "support/CliRun.h"
#include "support/MainFixtures.h"

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

QTEST_MAIN(TestWindowAgreement)
#include "tst_windowagreement.moc"
