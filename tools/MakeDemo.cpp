// Writes the demo setting file and its SEEM image into the folder named on the command line.

#include "DemoData.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"

#include <QDir>
#include <QSaveFile>
#include <cstdio>

namespace {

void WriteImage(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw BvlError(ErrNo::PathFileAccess, path + QStringLiteral(": ") + file.errorString());
}

}   // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bvl-make-demo <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    try {
        const QVector<DemoSetting> demo = DemoSettings();
        SettingList settings;
        for (const DemoSetting &d : demo)
            settings.append(d.setting);
        const QString secPath = folder.filePath(QStringLiteral("demo-phone.sec"));
        const QString seemPath = folder.filePath(QStringLiteral("0032_0001.seem"));
        WriteSettingFile(secPath, DemoHeader(settings.size()), settings);
        WriteImage(seemPath, DemoImage(demo));
        std::printf("%d settings: %s\n%d bytes: %s\n", int(settings.size()), qPrintable(secPath), DemoImageSize,
                    qPrintable(seemPath));
    } catch (const BvlError &e) {
        std::fprintf(stderr, "bvl-make-demo: error %d: %s\n", e.number(), e.what());
        return 1;
    }
    return 0;
}
