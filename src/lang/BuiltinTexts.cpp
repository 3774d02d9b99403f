#include "lang/BuiltinTexts.h"

#include "core/Cp1252.h"

#include <QFile>
#include <QHash>
#include <QSet>

namespace {

// The keys the program looked up in its first version: the texts of its code, then the
// captions of its localised controls.
const QSet<QString> &FirstVersionKeys()
{
    static const QSet<QString> keys = [] {
        QSet<QString> folded;
        for (const char *key : {"bvlMain.sShortHelp_V",
                                "bvlMain.sSave?_M",
                                "bvlMain.mnfOpenSEEM",
                                "bvlMain.mnfSaveSEEM",
                                "bvlMain.cdFilter1A_V",
                                "bvlMain.cdFilter1_V",
                                "bvlMain.cdFilter2_V",
                                "bvlEditSetting.mnfOpenSetting",
                                "bvlEditSetting.mnfSaveSetting",
                                "bvlMain.lbUsingFile_V",
                                "bvlMain.lbNoSettingFound_V",
                                "bvlMain.sIncompatible_M",
                                "bvlEditSetting.UnknownFile_M",
                                "bvlEditSetting.UnsupportedVer_M",
                                "bvlEditSetting.FileError_M",
                                "bvlEditSetting.NoSettings_M",
                                "bvlEditSetting.wssInputDataError_M",
                                "bvlEditSetting.CopyMultiple?_M",
                                "bvlEditSetting.DeleteMultiple?_M",
                                "bvlEditSetting.ttGroup",
                                "bvlEditSetting.cmtNewStateName_I",
                                "bvlEditSetting.cmtAlreadyExist_M",
                                "bvlMain.mnuSetting",
                                "bvlEditSettingDo.lbSettingGroup",
                                "bvlMain.frDescription",
                                "bvlMain.mnuFile",
                                "bvlMain.mnfChangeSettingFile",
                                "bvlMain.mnfRestore",
                                "bvlMain.mnfAutoSettingSelection",
                                "bvlMain.mnfQuit",
                                "bvlMain.mnuLanguage",
                                "bvlMain.mnfRestoreItem",
                                "bvlEditSetting.frSettings",
                                "bvlEditSetting.cmEdit",
                                "bvlEditSetting.cmCopy",
                                "bvlEditSetting.cmDelete",
                                "bvlEditSetting.cmAdd",
                                "bvlEditSetting.frGeneralInfo",
                                "bvlEditSetting.lbSuitableSEEMRec",
                                "bvlEditSetting.lbSuitablePhone",
                                "bvlEditSetting.lbSuitableSEEM",
                                "bvlEditSetting.lbAuthor",
                                "bvlEditSetting.mnuFile",
                                "bvlEditSetting.mnfNew",
                                "bvlEditSettingDo.cmCancel",
                                "bvlEditSettingDo.cmOK",
                                "bvlEditSettingDo.frSetting",
                                "bvlEditSettingDo.opType(0)",
                                "bvlEditSettingDo.opType(1)",
                                "bvlEditSettingDo.opType(2)",
                                "bvlEditSettingDo.opType(3)",
                                "bvlEditSettingDo.opType(4)",
                                "bvlEditSettingDo.lbMaxStringLength",
                                "bvlEditSettingDo.lbAvailableChars",
                                "bvlEditSettingDo.lbUncheckedValue",
                                "bvlEditSettingDo.lbCheckedValue",
                                "bvlEditSettingDo.lbSettingValueVal",
                                "bvlEditSettingDo.lbSettingValueList",
                                "bvlEditSettingDo.lbStateBin",
                                "bvlEditSettingDo.lbStateDec",
                                "bvlEditSettingDo.lbBitSelection",
                                "bvlEditSettingDo.lbSettingName",
                                "bvlEditSettingDo.lbSettingDescription",
                                "bvlEditSettingDo.lbOffset",
                                "bvlEditSettingDo.lbDecOffset",
                                "bvlEditSettingDo.lbHexOffset"})
            folded.insert(QString::fromLatin1(key).toCaseFolded());
        return folded;
    }();
    return keys;
}

// The shipped English file as the build embedded it: "key=value" lines in Windows-1252.
const QHash<QString, QString> &EnglishTexts()
{
    static const QHash<QString, QString> texts = [] {
        QHash<QString, QString> byKey;
        QFile file(QStringLiteral(":/builtin/english.sel"));
        if (!file.open(QIODevice::ReadOnly))
            return byKey;
        for (QByteArray line : file.readAll().split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            const int eq = line.indexOf('=');
            if (eq >= 0)
                byKey.insert(Cp1252::decode(line.left(eq)).toCaseFolded(), Cp1252::decode(line.mid(eq + 1)));
        }
        return byKey;
    }();
    return texts;
}

}   // namespace

namespace BuiltinTexts {

bool IsFirstVersionKey(const QString &key)
{
    return FirstVersionKeys().contains(key.toCaseFolded());
}

bool English(const QString &key, QString &value)
{
    const auto &texts = EnglishTexts();
    const auto it = texts.constFind(key.toCaseFolded());
    if (it == texts.constEnd())
        return false;
    value = it.value();
    return true;
}

const QHash<QString, QString> &AllEnglish()
{
    return EnglishTexts();
}

}   // namespace BuiltinTexts
