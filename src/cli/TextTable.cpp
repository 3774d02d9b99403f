#include "cli/TextTable.h"

void TextTable::print(QTextStream &out) const
{
    QVector<int> widths;
    for (const QStringList &row : m_rows)
        for (int c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            widths[c] = qMax(widths[c], int(row.at(c).size()));
        }
    for (const QStringList &row : m_rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row.at(c).leftJustified(widths.at(c) + 2) : row.at(c);
        out << line << '\n';
    }
}

QString CellText(const QString &text)
{
    QString cell;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            cell += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            cell += c;
    }
    return cell;
}
