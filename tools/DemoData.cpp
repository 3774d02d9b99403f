#include "DemoData.h"

#include "core/Conversions.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/SettingCodec.h"

#include <QStringList>
#include <utility>

namespace {

struct Choice
{
    const char *name;
    qint32 value;
};

// Appends settings in file order; a check box's values default to "mask set" / "clear".
class DemoList
{
public:
    void check(const char *group, const char *name, qint32 offset, quint8 mask, bool on, const char *description)
    {
        checkWithValues(group, name, offset, mask, mask, 0, on, description);
    }

    void checkWithValues(const char *group, const char *name, qint32 offset, quint8 mask, qint32 checkedValue,
                         qint32 uncheckedValue, bool on, const char *description)
    {
        SettingStruct s = make(SettingType::Checkbox, group, name, offset, description);
        s.BitMask = mask;
        s.Values = JoinValues({QString::number(checkedValue), QString::number(uncheckedValue)});
        m_settings.append({s, on});
    }

    void list(const char *group, const char *name, qint32 offset, quint8 mask, std::initializer_list<Choice> choices,
              qint32 value, const char *description)
    {
        SettingStruct s = make(SettingType::ValueList, group, name, offset, description);
        s.BitMask = mask;
        QStringList names, values;
        for (const Choice &c : choices) {
            names << QString::fromUtf8(c.name);
            values << QString::number(c.value);
        }
        s.ValueNames = JoinValues(names);
        s.Values = JoinValues(values);
        m_settings.append({s, value});
    }

    void number(const char *group, const char *name, qint32 offset, int value, const char *description)
    {
        m_settings.append({make(SettingType::Int8, group, name, offset, description), QString::number(value)});
    }

    void text(SettingType type, const char *group, const char *name, qint32 offset, qint32 fieldSize, const char *value,
              const char *description)
    {
        SettingStruct s = make(type, group, name, offset, description);
        s.MaxStringLength = fieldSize;
        m_settings.append({s, QString::fromUtf8(value)});
    }

    QVector<DemoSetting> take() { return std::move(m_settings); }

private:
    static SettingStruct make(SettingType type, const char *group, const char *name, qint32 offset,
                              const char *description)
    {
        SettingStruct s;
        s.Name = QString::fromUtf8(name);
        s.Description = QString::fromUtf8(description);
        s.Type = quint8(type);
        s.Group = QString::fromUtf8(group);
        s.Offset = offset;
        return s;
    }

    QVector<DemoSetting> m_settings;
};

void AddSound(DemoList &d)
{
    // Byte 0x10 is shared by three settings with different masks.
    d.check("Sound", "Key tones", 0x10, 0x01, true, "Plays a short tone each time a key is pressed.");
    d.list("Sound", "Key tone volume", 0x10, 0x0E,
           {{"Off", 0}, {"Quiet", 2}, {"Medium", 4}, {"Loud", 6}, {"Very loud", 8}}, 4,
           "Volume of the key tones. Shares its byte with \"Key tones\" and \"Silent mode\": "
           "only bits 1 to 3 belong to it.");
    d.check("Sound", "Silent mode", 0x10, 0x80, false,
            "Mutes every sound except the alarm clock. Bit 7 of the same byte as the key tones.");
    d.number("Sound", "Master volume", 0x11, 180, "Overall loudspeaker volume, from 0 (mute) to 255 (loudest).");

    d.list("Sound\\Ringer", "Ringer tone", 0x12, 0xFF,
           {{"Classic", 0}, {"Chimes", 1}, {"Marimba", 2}, {"Pulse", 3}, {"Morning bells", 4}, {"No tone", 255}}, 4,
           "Melody played for an incoming call.");
    d.number("Sound\\Ringer", "Ringer volume", 0x13, 200, "Volume of the ringer, from 0 to 255.");
    d.check("Sound\\Ringer", "Vibrate on ring", 0x14, 0x01, true, "The phone vibrates while it rings.");
    // Stored the other way round: the bit is set when the ring does NOT rise.
    d.checkWithValues("Sound\\Ringer", "Rising ring", 0x14, 0x02, 0, 2, true,
                      "The ringer starts quietly and grows louder. The phone stores this bit inverted: "
                      "set means a steady ring.");
    d.text(SettingType::AnsiString, "Sound\\Ringer", "Ringer melody title", 0x20, 16, "Morning Bells",
           "Title shown while the melody plays; at most 15 characters.");
}

void AddNetwork(DemoList &d)
{
    d.text(SettingType::AnsiString, "Network\\GPRS", "Access point", 0x40, 32, "internet.brimvale.example",
           "Name of the GPRS access point (APN) given by the network operator; at most 31 characters.");
    d.text(SettingType::AnsiString, "Network\\GPRS", "User name", 0x60, 16, "guest",
           "User name for the access point, if the operator asks for one.");
    d.list("Network\\GPRS", "Authentication", 0x70, 0x03, {{"None", 0}, {"PAP", 1}, {"CHAP", 2}}, 1,
           "How the phone proves its user name to the access point.");
    d.check("Network\\GPRS", "Always online", 0x70, 0x04, false,
            "Keeps the GPRS connection open between uses instead of connecting on demand.");
    d.check("Network\\GPRS", "Header compression", 0x70, 0x08, true,
            "Compresses packet headers to save air time on slow connections.");

    d.text(SettingType::AnsiString, "Network\\WAP", "Home page", 0x78, 40, "http://wap.brimvale.example/",
           "Page the browser opens first; at most 39 characters.");
    d.number("Network\\WAP", "Connection timeout", 0xA0, 60,
             "Seconds the browser waits for the gateway before it gives up (0 to 255).");
    d.list("Network\\WAP", "Connection type", 0xA1, 0x30,
           {{"Temporary", 0x00}, {"Continuous", 0x10}, {"Secure temporary", 0x20}, {"Secure continuous", 0x30}}, 0x20,
           "Whether the browser session stays open and whether it is encrypted (bits 4 and 5).");
}

void AddDisplay(DemoList &d)
{
    d.text(SettingType::UnicodeString, "Display", "Welcome text", 0xB0, 48,
           "Welcome \u2013 \u039A\u03B1\u03BB\u03CE\u03C2 \u03AE\u03C1\u03B8\u03B1\u03C4\u03B5",
           "Greeting shown when the phone is switched on. Stored as 16-bit characters, so any "
           "script may be used; at most 23 characters.");
    d.number("Display", "Contrast", 0xE0, 32, "Display contrast, from 0 (pale) to 255 (dark).");
    d.list("Display", "Backlight time", 0xE1, 0xFF,
           {{"5 seconds", 5}, {"15 seconds", 15}, {"30 seconds", 30}, {"1 minute", 60}, {"Always on", 255}}, 15,
           "How long the backlight stays on after the last key press.");
    d.list("Display", "Clock format", 0xE2, 0x01, {{"24 hours", 0}, {"12 hours", 1}}, 0,
           "How the idle screen shows the time.");
    d.check("Display", "Show date", 0xE2, 0x02, true, "Shows the date under the clock on the idle screen.");
    d.check("Display", "Operator logo", 0xE2, 0x04, true, "Shows the network operator's logo on the idle screen.");
}

void AddFeatures(DemoList &d)
{
    // Twenty-three menu entries, one bit each, over the bytes 0xF0 to 0xF2.
    const std::pair<const char *, const char *> features[] = {
        {"Games", "Offers the built-in games in the main menu."},
        {"Calculator", "Offers the calculator in the Organiser menu."},
        {"Calendar", "Offers the calendar with reminders in the Organiser menu."},
        {"Alarm clock", "Offers the alarm clock, which also rings when the phone is switched off."},
        {"Stopwatch", "Offers the stopwatch with lap times."},
        {"Countdown timer", "Offers a countdown timer with an alert tone."},
        {"Currency converter", "Offers the currency converter in the Organiser menu."},
        {"Voice dialling", "Lets the user call a contact by saying a recorded voice tag."},
        {"Voice memo", "Offers short voice recordings."},
        {"Infrared", "Offers the infrared port for exchanging contacts and notes."},
        {"Bluetooth", "Offers the Bluetooth settings and headsets."},
        {"Predictive text", "Suggests words while a message is typed."},
        {"Call waiting", "Shows the call waiting setting in the Call menu."},
        {"Call divert", "Shows the call divert settings in the Call menu."},
        {"Send own number", "Shows the setting that hides or sends the caller's own number."},
        {"Automatic redial", "Shows the automatic redial setting after a failed call."},
        {"Any-key answer", "Shows the setting that answers a call with any key."},
        {"Speed dialling", "Lets keys 2 to 9 call a stored number when held."},
        {"Picture messages", "Offers pictures in text messages."},
        {"E-mail", "Offers the e-mail client in the Messages menu."},
        {"FM radio", "Offers the FM radio (needs a headset as aerial)."},
        {"Notes", "Offers short text notes in the Organiser menu."},
        {"World clock", "Offers the world clock with time zones."},
    };
    // Entries 5 and 13 are hidden in this record, the rest offered.
    int bit = 0;
    for (const auto &[name, description] : features) {
        const bool on = bit != 5 && bit != 13;
        d.check("Features", name, 0xF0 + bit / 8, quint8(1u << (bit % 8)), on, description);
        ++bit;
    }
}

void AddPhonebook(DemoList &d)
{
    d.text(SettingType::UnicodeString, "Phonebook", "Owner name", 0x110, 32, "Zo\u00EB Brimvale",
           "Name of the phone's owner, shown in the phonebook's own card; at most 15 characters.");
    d.list("Phonebook", "Sort by", 0x130, 0x01, {{"First name", 0}, {"Last name", 1}}, 1,
           "Order of the contacts in the phonebook.");
    d.list("Phonebook", "Memory in use", 0x130, 0x06, {{"Phone", 0}, {"SIM card", 2}, {"Phone and SIM card", 4}}, 4,
           "Where new contacts are stored, and which contacts the list shows.");
}

}   // namespace

QVector<DemoSetting> DemoSettings()
{
    DemoList d;
    AddSound(d);
    AddNetwork(d);
    AddDisplay(d);
    AddFeatures(d);
    AddPhonebook(d);
    return d.take();
}

SettingFileHeader DemoHeader(int settingCount)
{
    SettingFileHeader h;
    h.Magic = QStringLiteral("sec");
    h.FileVersion = 3;
    h.ProgramVersion = VersionString();
    h.SEEMNr = 0x32;
    h.SEEMRec = 1;
    h.Phones = QStringLiteral("Brimvale BV-100, BV-200 and BV-210 (demo)");
    h.SettingCount = settingCount;
    h.Author = QStringLiteral("Brimvale Edit sample data");
    return h;
}

QByteArray DemoImage(const QVector<DemoSetting> &settings)
{
    // A pattern stands for the bytes no setting describes, and for the bits of shared bytes
    // that belong to no setting, so that editing can be seen to leave them alone.
    QByteArray pattern(DemoImageSize, Qt::Uninitialized);
    for (int i = 0; i < DemoImageSize; ++i)
        pattern[i] = char((i * 37 + 11) & 0xFF);
    for (const DemoSetting &d : settings) {
        const SettingStruct &s = d.setting;
        if (s.Type == quint8(SettingType::AnsiString) || s.Type == quint8(SettingType::UnicodeString))
            pattern.replace(s.Offset, s.MaxStringLength, QByteArray(s.MaxStringLength, '\0'));
    }

    MemoryByteStore image(pattern);
    for (const DemoSetting &d : settings) {
        switch (SettingType(d.setting.Type)) {
        case SettingType::Checkbox:
            SettingCodec::EncodeChecked(image, d.setting, d.value.toBool());
            break;
        case SettingType::ValueList:
            SettingCodec::EncodeListValue(image, d.setting, d.value.toInt());
            break;
        default:
            SettingCodec::EncodeText(image, d.setting, d.value.toString());
            break;
        }
    }
    return image.bytes();
}
