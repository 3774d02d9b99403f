#include "AuthoringBench.h"

#include "Median.h"
#include "ResultTable.h"

#include "seem/authoring/DifferenceProposals.h"
#include "ui/editor/ByteMapModel.h"

#include <QRandomGenerator>

namespace {

struct AuthoringCase
{
    int imageBytes;
    int settings;
    int differingBytes;
};

// Settings of every type spread over the image, strings of 8 to 40 bytes.
SettingList SpreadSettings(int count, int imageBytes, QRandomGenerator &random)
{
    SettingList settings;
    settings.reserve(count);
    for (int i = 0; i < count; ++i) {
        SettingStruct s;
        s.Type = quint8(i % 5);
        s.Offset = qint32(random.bounded(imageBytes - 64));
        s.BitMask = quint8(1u << (i % 8));
        s.MaxStringLength = 8 + i % 33;
        s.Values = QStringLiteral("%1§0").arg(s.BitMask);
        settings << s;
    }
    return settings;
}

QByteArray RandomImage(int size, QRandomGenerator &random)
{
    QByteArray image(size, '\0');
    for (char &byte : image)
        byte = char(random.bounded(256));
    return image;
}

}   // namespace

QString MeasureAuthoring(int runs)
{
    const QVector<AuthoringCase> cases{{1 << 20, 20000, 10000}, {4 << 20, 80000, 40000}};
    QStringList titles{QStringLiteral("image / settings / differing bytes")};
    for (const AuthoringCase &c : cases)
        titles << QStringLiteral("%1 MB / %2 / %3")
                      .arg(c.imageBytes >> 20)
                      .arg(ResultTable::count(c.settings))
                      .arg(ResultTable::count(c.differingBytes));
    ResultTable table(titles);
    for (const AuthoringCase &c : cases) {
        QRandomGenerator random(c.imageBytes ^ c.settings);
        const SettingList settings = SpreadSettings(c.settings, c.imageBytes, random);
        const QByteArray first = RandomImage(c.imageBytes, random);
        QByteArray second = first;
        for (int i = 0; i < c.differingBytes; ++i) {
            const int offset = int(random.bounded(c.imageBytes));
            second[offset] = char(second[offset] ^ char(1 + random.bounded(255)));
        }

        ByteMapModel model;
        table.add(QStringLiteral("byte map: images into the model"),
                  ResultTable::ms(MedianMs(runs, [&] { model.setImages(first, second); })));
        table.add(QStringLiteral("byte map: coverage of the settings"),
                  ResultTable::ms(MedianMs(runs, [&] { model.setSettings(settings); })));
        int drafts = 0;
        table.add(QStringLiteral("propose"),
                  ResultTable::ms(MedianMs(runs, [&] { drafts = ProposeSettings(settings, first, second).size(); })));
        table.add(QStringLiteral("drafts proposed"), ResultTable::count(drafts));
        table.add(QStringLiteral("undescribed differences"), ResultTable::count(model.undescribedDifferences().size()));
    }
    return table.markdown();
}
