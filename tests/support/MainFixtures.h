#pragma once
// A program folder with language, setting and SEEM files, and a main window started in it.
#include "core/SettingFile.h"
#include "support/EditorFixtures.h"
#include "support/ScriptedPlatform.h"
#include "support/SeemFixtures.h"
#include "ui/AppContext.h"
#include "ui/main/bvlMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>

#include <functional>
#include <memory>

namespace MainFixtures {

// What a tool tip shows: its rich text read as the tool tip reads it.
inline QString ShownToolTip(const QWidget *widget)
{
    return QTextDocumentFragment::fromHtml(widget->toolTip()).toPlainText();
}

inline SettingFileHeader Header(qint16 seemNr, qint16 seemRec, const QString &author = QStringLiteral("Ann"))
{
    SettingFileHeader h = SeemFixtures::SecHeader(seemNr, seemRec);
    h.ProgramVersion = QStringLiteral("1.01.500_Tavik");
    h.Phones = QStringLiteral("Demo phone");
    h.Author = author;
    return h;
}

// Six settings over a 20-byte image (SampleImage): every control kind, three groups.
inline SettingList SampleSettings()
{
    using namespace SeemFixtures;
    SettingStruct volume = ValueList(0, 0x30, {0, 16, 32});
    volume.ValueNames = JoinValues({QStringLiteral("Low"), QStringLiteral("Mid"), QStringLiteral("High")});
    return {
        Named(Checkbox(0, 0x01, 1, 0), QStringLiteral("Beep"), QStringLiteral("Sound"),
              QStringLiteral("Beeps on keys")),
        Named(volume, QStringLiteral("Volume"), QStringLiteral("Sound"), QStringLiteral("How loud")),
        Named(Int8(1), QStringLiteral("Timeout"), QStringLiteral("Display"), QStringLiteral("Seconds")),
        Named(AnsiString(2, 8), QStringLiteral("Greeting"), QStringLiteral("Display")),
        Named(UnicodeString(10, 8), QStringLiteral("Owner"), QStringLiteral("Net\\GPRS")),
        Named(Checkbox(18, 0x80, 128, 0), QStringLiteral("Roaming"), QStringLiteral("Net")),
    };
}

// Beep on, volume Mid, timeout 200, greeting "ABC", owner "AB", roaming on.
inline QByteArray SampleImage()
{
    return QByteArray::fromHex("11C8"
                               "4142430058595A57"
                               "0041004200000000"
                               "8000");
}

class ProgramFolder
{
public:
    QTemporaryDir dir;

    QString file(const QString &name) const { return dir.filePath(name); }

    QString writeBytes(const QString &name, const QByteArray &bytes) const
    {
        QFile f(file(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            QTest::qFail("cannot write a fixture file", __FILE__, __LINE__);
        return f.fileName();
    }

    QString writeSec(const QString &name, SettingFileHeader header, const SettingList &settings) const
    {
        header.SettingCount = settings.size();
        WriteSettingFile(file(name), header, settings);
        return file(name);
    }

    QByteArray bytes(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString copyLanguage(const QString &name) const
    {
        QFile::copy(QStringLiteral(BVL_DATA_DIR "/") + name, file(name));
        return file(name);
    }
};

// Runs a hook while a file dialog is "open", to look at the window at that moment.
class HookedPlatform : public ScriptedPlatform
{
public:
    std::function<void()> beforeFileDialog;
    std::optional<QString> openFileName(const QString &title, const QString &filter,
                                        const QString &proposedName) override
    {
        if (beforeFileDialog)
            beforeFileDialog();
        return ScriptedPlatform::openFileName(title, filter, proposedName);
    }
};

// A fresh program folder and a main window that has not started yet.
struct UnstartedWindow
{
    ProgramFolder folder;
    ScriptedPlatform platform;
    AppContext ctx{platform};
    bvlMain window{ctx};
    UnstartedWindow() { platform.folder = folder.dir.path(); }
};

// A main window started in English in a fresh program folder that holds the sample
// setting file sample.sec (SEEM 32_1) and the image 0032_0001.seem.
struct MainFixture
{
    ProgramFolder folder;
    HookedPlatform platform;
    AppContext ctx{platform};
    std::unique_ptr<bvlMain> window;
    QString seemPath;
    QString secPath;

    MainFixture()
    {
        platform.folder = folder.dir.path();
        platform.preferences.insert(QStringLiteral("Lang/Language"),
                                    folder.copyLanguage(QStringLiteral("english.sel")));
        secPath = folder.writeSec(QStringLiteral("sample.sec"), Header(0x32, 1), SampleSettings());
        seemPath = folder.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
        window = std::make_unique<bvlMain>(ctx);
        if (!window->Form_Load())
            QTest::qFail("start-up failed", __FILE__, __LINE__);
    }

    // Opens a SEEM file through the File menu; extra dialog answers are queued by the caller.
    void open(const QString &path)
    {
        platform.answerFile(path);
        window->mnfOpenSEEM_Click();
    }

    // Replaces the sample setting file and image with these, then opens the image.
    void openWith(const SettingList &settings, const QByteArray &image,
                  const SettingFileHeader &header = Header(0x32, 1))
    {
        folder.writeSec(QStringLiteral("sample.sec"), header, settings);
        folder.writeBytes(QStringLiteral("0032_0001.seem"), image);
        open(seemPath);
    }

    // Confirms the save dialog and saves; true when the save succeeded.
    bool save()
    {
        platform.answerFile(seemPath);
        return window->mnfSaveSEEM_Click();
    }

    QByteArray image() const { return folder.bytes(QStringLiteral("0032_0001.seem")); }

    QString T(const QString &key) { return ctx.lang.GetLangString(key); }

    // The control of setting index (1-based), asked of the window: its page is built then.
    QCheckBox *check(int index) { return qobject_cast<QCheckBox *>(window->ControlOf(index)); }
    QComboBox *list(int index) { return qobject_cast<QComboBox *>(window->ControlOf(index)); }
    QLineEdit *text(int index) { return qobject_cast<QLineEdit *>(window->ControlOf(index)); }
};

}   // namespace MainFixtures
