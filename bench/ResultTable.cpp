#include "ResultTable.h"

#include <QLocale>

void ResultTable::add(const QString &measure, const QString &value)
{
    int row = m_measures.indexOf(measure);
    if (row < 0) {
        m_measures << measure;
        m_values.append(QStringList());
        row = m_measures.size() - 1;
    }
    m_values[row] << value;
}

QString ResultTable::markdown() const
{
    // Widths per column, so that the plain text lines up as well.
    QVector<int> widths(m_titles.size(), 0);
    for (int c = 0; c < m_titles.size(); ++c)
        widths[c] = m_titles.at(c).size();
    for (int r = 0; r < m_measures.size(); ++r) {
        widths[0] = std::max(widths[0], int(m_measures.at(r).size()));
        for (int c = 1; c < m_titles.size(); ++c)
            widths[c] = std::max(widths[c], int(m_values.at(r).value(c - 1).size()));
    }
    auto line = [&](const QStringList &cells) {
        QString text = QStringLiteral("|");
        for (int c = 0; c < cells.size(); ++c)
            text += QLatin1Char(' ')
                    + (c == 0 ? cells.at(c).leftJustified(widths[c]) : cells.at(c).rightJustified(widths[c]))
                    + QStringLiteral(" |");
        return text + QLatin1Char('\n');
    };
    QString out = line(m_titles);
    QStringList rule;
    for (int c = 0; c < m_titles.size(); ++c)
        rule << (c == 0 ? QString(widths[c], QLatin1Char('-'))
                        : QString(widths[c] - 1, QLatin1Char('-')) + QLatin1Char(':'));
    out += line(rule);
    for (int r = 0; r < m_measures.size(); ++r)
        out += line(QStringList{m_measures.at(r)} + m_values.at(r));
    return out;
}

QString ResultTable::ms(double milliseconds)
{
    return QString::number(milliseconds, 'f',
                           milliseconds < 1     ? 3
                           : milliseconds < 100 ? 1
                                                : 0)
           + QStringLiteral(" ms");
}

QString ResultTable::ratio(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 0) + QStringLiteral("x");
}

QString ResultTable::count(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

QString ResultTable::perSetting(qint64 calls, int settings)
{
    return QString::number(double(calls) / settings, 'f', 2);
}
