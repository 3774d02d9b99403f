#pragma once
#include "support/CliRun.h"
#include "support/MainFixtures.h"

// The sample program folder of the command-line tests: sample.sec (SEEM 32_1) and
// 0032_0001.seem, with brimvale-cli run in it.
struct CliSample
{
    MainFixtures::ProgramFolder folder;
    QString sec;
    QString image;
    CliSample()
    {
        sec = folder.writeSec(QStringLiteral("sample.sec"), MainFixtures::Header(0x32, 1),
                              MainFixtures::SampleSettings());
        image = folder.writeBytes(QStringLiteral("0032_0001.seem"), MainFixtures::SampleImage());
    }
    CliResult run(const QStringList &arguments) const { return RunCliCaptured(arguments, folder.dir.path()); }
};
