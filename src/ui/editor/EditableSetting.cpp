#include "ui/editor/EditableSetting.h"

#include "core/BvlError.h"
#include "core/Conversions.h"

namespace {

// Every value a number from 0 to 255 with no bit outside the mask: the dialog masks the
// values when it stores them, which would change any other value behind the user's back.
bool allBytesInMask(const QStringList &values, quint8 mask)
{
    for (const QString &value : values) {
        try {
            const qint32 number = DecimalToLong(value);
            if (number < 0 || number > 255 || (number & ~mask) != 0)
                return false;
        } catch (const BvlError &) {
            return false;
        }
    }
    return true;
}

}   // namespace

bool IsEditableSetting(const SettingStruct &setting)
{
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox: {
        const QStringList values = SplitValues(setting.Values);
        return values.size() == 2 && allBytesInMask(values, setting.BitMask);
    }
    case SettingType::ValueList: {
        const QStringList values = SplitValues(setting.Values);
        return values.size() == SplitValues(setting.ValueNames).size() && allBytesInMask(values, setting.BitMask);
    }
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        return true;
    }
    return false;
}
