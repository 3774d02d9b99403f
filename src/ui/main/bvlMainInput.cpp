// Input checked as it is typed: a text box whose value a save cannot write shows it at
// once, in the setting dialog's warning colours and with the reason as its tool tip, and
// the save refuses before it asks anything.
#include "ui/main/bvlMain.h"

#include "seem/values/SettingCodec.h"
#include "ui/AccessibleNames.h"
#include "ui/AppContext.h"
#include "ui/editor/InputMarks.h"

#include <QLineEdit>
#include <QPalette>

QString bvlMain::TypedValueProblemText(int index, TypedValueProblem problem)
{
    switch (problem) {
    case TypedValueProblem::None:
        break;
    case TypedValueProblem::NotAByte:
        return m_ctx.T(QStringLiteral("bvlMain.sNotAByte_V"));
    case TypedValueProblem::TooLongForField:
        return m_ctx.T(QStringLiteral("bvlMain.sTooLong_V")).arg(SettingCodec::MaxTextLength(Settings.at(index - 1)));
    case TypedValueProblem::NotInCodePage:
        return m_ctx.T(QStringLiteral("bvlMain.sNotInCodePage_V"));
    case TypedValueProblem::HalfSurrogate:
        return m_ctx.T(QStringLiteral("bvlMain.sHalfSurrogate_V"));
    case TypedValueProblem::ZeroCharacter:
        return m_ctx.T(QStringLiteral("bvlMain.sZeroCharacter_V"));
    }
    return QString();
}

void bvlMain::UpdateValidityMark(int index)
{
    // A control built later is marked then (ShowBuiltControl).
    QWidget *control = BuiltControlOf(index);
    if (!control)
        return;
    const TypedValueProblem problem = TypedValueProblemOf(index);
    describeToScreenReaders(control, index, problem);
    auto *box = qobject_cast<QLineEdit *>(control);
    if (!box)
        return;
    if (problem == TypedValueProblem::None) {
        if (InputMarks::IsTextRed(box)) {
            InputMarks::SetTextValid(box, true);
            InputMarks::SetBackComplete(box, true);
            box->setToolTip(QString());
        }
        return;
    }
    InputMarks::SetTextValid(box, false);
    InputMarks::SetBackComplete(box, false);
    box->setToolTip(PlainToolTip(TypedValueProblemText(index, problem)));
}

void bvlMain::describeToScreenReaders(QWidget *control, int index, TypedValueProblem problem)
{
    // The setting's own description, then what the colours and the change mark show, in
    // words: why a value cannot be written, and that the setting is changed.
    QStringList words;
    if (const QString &own = Settings.at(index - 1).Description; !own.isEmpty())
        words << own;
    if (problem != TypedValueProblem::None)
        words << TypedValueProblemText(index, problem);
    if (Document->isChanged(index))
        words << m_ctx.T(QStringLiteral("bvlMain.sChangedMark_V"));
    SetAccessibleDescription(control, words.join(QLatin1Char('\n')));
}

bool bvlMain::CheckTypedValues()
{
    for (int index : ChangedSettings()) {
        const TypedValueProblem problem = TypedValueProblemOf(index);
        if (problem == TypedValueProblem::None)
            continue;
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sCannotSave_M")) + QStringLiteral(" \"")
                                      + Settings.at(index - 1).Name + QStringLiteral("\": ")
                                      + TypedValueProblemText(index, problem),
                                  MsgIcon::Warning, MsgButtons::Ok);
        ShowSetting(index);
        return false;
    }
    return true;
}
