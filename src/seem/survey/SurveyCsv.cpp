#include "seem/survey/SurveyCsv.h"

#include "seem/document/SettingLookup.h"
#include "seem/survey/ImageSurvey.h"

#include <QFileInfo>

namespace {

// Characters handed to the stream at a time: about what it buffers before it writes.
constexpr qsizetype PieceChars = 16 * 1024;

// One field, quoted when it holds a comma, a quote or a line break.
void AppendField(QString &line, const QString &field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) && !field.contains(QLatin1Char('\n'))
        && !field.contains(QLatin1Char('\r'))) {
        line += field;
        return;
    }
    line += QLatin1Char('"');
    line += QString(field).replace(QLatin1Char('"'), QLatin1String("\"\""));
    line += QLatin1Char('"');
}

}   // namespace

QString SurveyValueText(const ValueText &value)
{
    return value.decoded ? value.text : QStringLiteral("(%1)").arg(value.reason);
}

QVector<int> SurveySettings(const ImageSurvey &survey, bool varyingOnly)
{
    QVector<int> chosen;
    for (int s = 0; s < survey.settings().size(); ++s)
        if (!varyingOnly || survey.varies(s))
            chosen.append(s);
    return chosen;
}

void WriteSurveyCsv(const ImageSurvey &survey, const QVector<int> &settings, QTextStream &out)
{
    QVector<int> used;
    QString piece = QStringLiteral("setting");
    for (int i = 0; i < survey.imageCount(); ++i) {
        if (!survey.image(i).used())
            continue;
        used.append(i);
        piece += QLatin1Char(',');
        AppendField(piece, QFileInfo(survey.image(i).path).fileName());
    }
    piece += QLatin1String("\r\n");
    for (int s : settings) {
        AppendField(piece, SettingPathOf(survey.settings().at(s)));
        const QVector<SurveyValue> &values = survey.values(s);
        for (int i : used) {
            piece += QLatin1Char(',');
            AppendField(piece, SurveyValueText(values.at(survey.valueIndex(s, i)).value));
        }
        piece += QLatin1String("\r\n");
        if (piece.size() >= PieceChars) {
            out << piece;
            piece.resize(0);
        }
    }
    out << piece;
}

QByteArray SurveyCsv(const ImageSurvey &survey, bool varyingOnly)
{
    QByteArray bytes;
    QTextStream out(&bytes, QIODevice::WriteOnly);
    WriteSurveyCsv(survey, SurveySettings(survey, varyingOnly), out);
    out.flush();
    return bytes;
}
