#include "seem/authoring/RecordMatch.h"

bool NameSaysOtherRecord(const QString &seemFileName, const SettingFileHeader &header, SeemNameNumbers &named)
{
    SeemNameNumbers numbers;
    if (!ParseSeemFileName(seemFileName, numbers))
        return false;
    if (numbers.seemNr == header.SEEMNr && numbers.seemRec == header.SEEMRec)
        return false;
    named = numbers;
    return true;
}

QString RecordNumbersText(qint16 seemNr, qint16 seemRec)
{
    const auto hex = [](qint16 n) { return QStringLiteral("%1").arg(quint16(n), 4, 16, QLatin1Char('0')).toUpper(); };
    return hex(seemNr) + QLatin1Char('_') + hex(seemRec);
}
