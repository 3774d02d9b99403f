#pragma once
#include <QString>
#include <QStringList>

// brimvale-cli run in this process, as the bench measures it: what it printed on standard
// output; throws std::runtime_error with its messages unless it succeeds.
QString RunCliOrThrow(const QStringList &arguments);
