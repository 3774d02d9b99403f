#pragma once
#include <QString>

// brimvale-cli survey over 10, 100 and 1,000 generated images of 64 KB through a generated
// setting file of 2,000 settings, as a process and in this process, beside the loop of
// one `show --format json` per image that users run without it. Returns a Markdown table.
QString MeasureSurvey(const QString &folder);
