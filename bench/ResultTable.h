#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// One Markdown table: a row per measure, a column per file size, so that it can be pasted
// into the README as it is printed.
class ResultTable
{
public:
    explicit ResultTable(const QStringList &columnTitles) : m_titles(columnTitles) {}

    // Adds a value to the row named measure, creating the row on first use; values are
    // added in column order.
    void add(const QString &measure, const QString &value);
    QString markdown() const;

    // Formatting shared by the rows.
    static QString ms(double milliseconds);
    static QString ratio(double value);
    static QString count(qint64 value);
    static QString perSetting(qint64 calls, int settings);
    static QString notAvailable() { return QStringLiteral("n/a"); }

private:
    QStringList m_titles;
    QStringList m_measures;
    QVector<QStringList> m_values;
};
