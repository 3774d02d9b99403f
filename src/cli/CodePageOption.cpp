#include "cli/CodePageOption.h"

#include "core/CodePage.h"

#include <QRegularExpression>
#include <QStringList>

QString OfferedCodePages()
{
    QStringList numbers;
    for (int number : CodePage::Supported())
        numbers << QString::number(number);
    return numbers.join(QStringLiteral(", "));
}

QCommandLineOption CodePageOption()
{
    return QCommandLineOption(QStringLiteral("code-page"),
                              QStringLiteral("The Windows code page of setting files and ANSI string settings: %1 "
                                             "(default 1252).")
                                  .arg(OfferedCodePages()),
                              QStringLiteral("NUMBER"));
}

int CodePageOfOption(const QString &value)
{
    static const QRegularExpression form(QStringLiteral("^(?:windows-|cp)?(\\d{4})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(value.trimmed());
    if (!match.hasMatch())
        return 0;
    const int number = match.captured(1).toInt();
    return CodePage::IsSupported(number) ? number : 0;
}
