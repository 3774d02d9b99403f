#include "cli/HelpText.h"

#include <QStringList>

QString WrapText(const QString &text, int indent, int width, int firstColumn)
{
    const QString margin(indent, QLatin1Char(' '));
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int lineStart = lines.isEmpty() ? firstColumn : indent;
            if (!line.isEmpty() && lineStart + line.size() + 1 + word.size() > width) {
                lines << line;
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines << line;
    }
    for (int i = 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            lines[i].prepend(margin);
    return lines.join(QLatin1Char('\n'));
}

QString WithUsageLine(const QString &qtHelp, const QString &usage)
{
    const qsizetype lineEnd = qtHelp.indexOf(QLatin1Char('\n'));
    return QStringLiteral("Usage: ") + usage + (lineEnd < 0 ? QStringLiteral("\n") : qtHelp.mid(lineEnd));
}
