#pragma once
#include <QString>

// The setting-file rows: two versions of a generated setting file compared, and two
// versions merged with their base, in the library and as brimvale-cli merge-sec in this
// process (three files read, one written), at 2,000 and 20,000 settings. Returns a
// Markdown table.
QString MeasureMerge(const QString &folder, int runs);
