// Export values and Apply values: the values of one phone carried to another, in the
// profile form that brimvale-cli's show prints and apply takes.
#include "ui/main/ValueProfiles.h"

#include "core/JsonFields.h"
#include "core/OutputTarget.h"
#include "core/RegularFile.h"
#include "lang/Wording.h"
#include "seem/document/SeemDocument.h"
#include "seem/document/SettingLookup.h"
#include "seem/profiles/AssignmentProblemText.h"
#include "seem/profiles/ValueProfile.h"
#include "seem/values/SettingState.h"
#include "ui/AppContext.h"
#include "ui/InputDataError.h"
#include "ui/main/ChangeSteps.h"
#include "ui/main/DocumentFiles.h"

#include <QFileInfo>

namespace {

// A profile is a few hundred bytes a setting; this bounds what a hostile file costs.
constexpr qint64 MaxProfileBytes = 64 * 1024 * 1024;

QString ProfileFilter(AppContext &ctx)
{
    return ctx.T(QStringLiteral("bvlMain.cdFilterProfile_V")) + QStringLiteral("|*.json|")
           + ctx.T(QStringLiteral("bvlMain.cdFilter1_V")) + QStringLiteral("|*.*");
}

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString ErrorSuffix(int number)
{
    return QStringLiteral(" (ERR ") + QString::number(number) + QLatin1Char(')');
}

}   // namespace

ValueProfiles::ValueProfiles(AppContext &ctx, SeemDocument &document, ChangeSteps &steps)
    : m_ctx(ctx), m_document(document), m_steps(steps)
{}

QByteArray ValueProfiles::Profile()
{
    m_steps.CommitTypedEdit();
    // The document's values under the setting file's own names, never a page's.
    return m_document.profileJson();
}

int ValueProfiles::Export()
{
    QByteArray profile;
    try {
        profile = Profile();
    } catch (const SettingWriteError &e) {
        ShowInputDataError(m_ctx, e.number());
        return e.settingIndex;
    } catch (const BvlError &e) {
        ShowInputDataError(m_ctx, e.number());
        return 0;
    }
    const QString imagePath = m_document.seemPath();
    const QFileInfo image(imagePath);
    const std::optional<QString> path =
        m_ctx.platform.saveFileName(m_ctx.T(QStringLiteral("bvlMain.mnfExportValues")), ProfileFilter(m_ctx),
                                    JoinPath(image.absolutePath(), image.completeBaseName() + QStringLiteral(".json")));
    if (!path)
        return 0;
    try {
        WriteOutputFile(*path, profile, {imagePath, m_document.settingPath()});
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sExportFailed_M")) + QLatin1Char(' ') + Quoted(*path)
                                      + QStringLiteral(": ") + QString::fromUtf8(e.what()),
                                  MsgIcon::Warning, MsgButtons::Ok);
    }
    return 0;
}

ValueProfiles::Applied ValueProfiles::Apply()
{
    const std::optional<QString> path =
        m_ctx.platform.openFileName(m_ctx.T(QStringLiteral("bvlMain.mnfApplyValues")), ProfileFilter(m_ctx),
                                    DocumentFiles::FolderProposal(m_document.seemPath()));
    if (!path)
        return {};
    QVector<ValueAssignment> assignments;
    try {
        assignments = ReadValueProfile(ReadRegularFile(*path, MaxProfileBytes));
    } catch (const JsonInputError &e) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sProfileUnreadable_M")) + QLatin1Char(' ')
                                      + Quoted(*path) + QStringLiteral(": ") + e.path() + QStringLiteral(": ")
                                      + e.problem(),
                                  MsgIcon::Warning, MsgButtons::Ok);
        return {};
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sProfileUnreadable_M")) + QLatin1Char(' ')
                                      + Quoted(*path) + ErrorSuffix(e.number()),
                                  MsgIcon::Warning, MsgButtons::Ok);
        return {};
    }

    m_steps.CommitTypedEdit();
    // Every value is encoded on top of the document's values, as a save would write it,
    // and read back: the window then holds what `apply` would write into the file.
    SeemDocument::ProfileStates applied;
    try {
        applied = m_document.profileStates(assignments);
    } catch (const SettingWriteError &e) {
        ShowInputDataError(m_ctx, e.number());
        Applied failed;
        failed.failedSetting = e.settingIndex;
        return failed;
    }
    const QVector<AssignmentProblem> &problems = applied.problems;
    QStringList refused;
    LangWording words(m_ctx.lang);
    for (const AssignmentProblem &p : problems)
        refused << AssignmentProblemText(words, p, m_document.settings());
    // A setting whose restore failed shows nothing of the file and is never saved.
    for (int index : applied.unrestorable)
        refused << Quoted(m_document.fullName(index)) + QLatin1Char(' ')
                       + m_ctx.T(QStringLiteral("bvlMain.sApplyUnrestorable_V"));
    for (const auto &[index, error] : applied.failed)
        refused << Quoted(m_document.fullName(index)) + ErrorSuffix(error);
    if (!refused.isEmpty()) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sApplyRefused_M")) + QLatin1Char('\n')
                                      + refused.join(QLatin1Char('\n')),
                                  MsgIcon::Warning, MsgButtons::Ok);
        return {};
    }
    Applied result;
    result.states = std::move(applied.states);
    return result;
}
