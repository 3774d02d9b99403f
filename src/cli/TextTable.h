#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVector>

// Rows printed in aligned columns, two blanks apart; the last column is not padded.
class TextTable
{
public:
    void addRow(const QStringList &cells) { m_rows.append(cells); }
    void print(QTextStream &out) const;

private:
    QVector<QStringList> m_rows;
};

// A value as one table cell: control characters as \xNN, so that every setting stays on
// one line (the JSON form holds the exact text).
QString CellText(const QString &text);
