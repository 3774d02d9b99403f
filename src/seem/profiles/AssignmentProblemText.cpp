#include "seem/profiles/AssignmentProblemText.h"

#include "lang/Wording.h"
#include "seem/document/SettingLookup.h"
#include "seem/profiles/ValueProfile.h"

#include <QStringList>

namespace {

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The settings an ambiguous name stands for, the first few of them when it is thousands.
QString CandidatesText(Wording &words, const AssignmentProblem &p, const SettingList &settings)
{
    QStringList names;
    for (int index : p.settings)
        names << Quoted(SettingPathOf(settings.at(index - 1)));
    const QString named = names.join(QStringLiteral(", "));
    if (p.candidates <= p.settings.size())
        return named;
    return words.text(QStringLiteral("bvlMain.sApplyMore_V"))
        .arg(named, QString::number(p.candidates - p.settings.size()));
}

}   // namespace

QString AssignmentProblemText(Wording &words, const AssignmentProblem &p, const SettingList &settings)
{
    const QString line = p.source + QStringLiteral(": ");
    switch (p.kind) {
    case AssignmentProblem::UnknownName:
        return line + words.text(QStringLiteral("bvlMain.sApplyUnknown_V")) + QLatin1Char(' ') + Quoted(p.query);
    case AssignmentProblem::Ambiguous:
        return line + Quoted(p.query) + QLatin1Char(' ') + words.text(QStringLiteral("bvlMain.sApplyAmbiguous_V"))
               + QStringLiteral(": ") + CandidatesText(words, p, settings);
    case AssignmentProblem::Twice:
        return line + Quoted(p.query) + QLatin1Char(' ') + words.text(QStringLiteral("bvlMain.sApplyTwice_V"));
    case AssignmentProblem::Refused:
        return line + Quoted(p.query) + QStringLiteral(": ") + p.reason;
    case AssignmentProblem::OutsideImage:
        break;
    }
    return line + Quoted(p.query) + QLatin1Char(' ') + words.text(QStringLiteral("bvlMain.sApplyOutside_V"));
}
