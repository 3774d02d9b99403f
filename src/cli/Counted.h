#pragma once
#include <QString>

// "1 warning", "2 warnings": a count and its noun as the command line prints them. plural
// defaults to the singular with an "s".
inline QString Counted(qint64 count, const QString &singular, const QString &plural = QString())
{
    return QString::number(count) + QLatin1Char(' ')
           + (count == 1         ? singular
              : plural.isEmpty() ? singular + QLatin1Char('s')
                                 : plural);
}
