// bvl-screenshots <source folder> <program folder> <language file name> <output folder> [suffix [main]]
// bvl-screenshots <source folder> <program folder> <language file name> <output folder> --screen <name>
// bvl-screenshots <source folder> <program folder> <language file name> <output folder> --font-size <percent> main|editor <name>
//
// Starts the real windows on the current display, opens the demo document the way a user
// would (File > Open SEEM, automatic choice of its setting file), and saves pictures of the
// main window, the setting editor (with its Edit menu open, and with the check's report),
// the setting dialog and the About window (with "main"
// after the suffix, of the main window only). The answers a
// user would give in file dialogs come from this program; preferences stay in memory, so
// the user's own preferences are never touched.
//
// The status line shows the setting file's full path, so the windows run from a program
// folder made for the pictures (it must not exist yet; `make screenshots` gives one named
// like an installed copy) holding copies of the language, setting and SEEM files of the
// source folder. The demo image is edited only as a copy, and the folder is removed after.
//
// With --screen, only the main window with the demo document is drawn, as the whole screen
// shows it (run on a small or scaled screen, it shows the window fitting that screen).
//
// With --font-size, the application's font is made that many percent of its size first, and
// only the main window with the demo document, or the setting editor with the demo setting
// file, is drawn into <name>.png: the layouts grow with the font.
#include "core/BvlError.h"
#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "core/SettingTypes.h"
#include "seem/authoring/BitCoverage.h"
#include "seem/document/SettingLookup.h"
#include "seem/values/SettingCodec.h"
#include "ui/AppContext.h"
#include "ui/about/bvlAbout.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlCompareSec.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"
#include "ui/editor/bvlGroupBrowse.h"
#include "ui/editor/bvlMergeSec.h"
#include "ui/main/bvlMain.h"
#include "ui/main/bvlSurvey.h"
#include "ui/platform/QtPlatform.h"
#include "ui/settingfiles/bvlSettingFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QQueue>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

namespace {

class ScreenshotPlatform : public QtPlatform
{
public:
    QQueue<QString> fileAnswers;
    QMap<QString, QString> preferences;

    MsgResult messageBox(const QString &text, MsgIcon icon, MsgButtons buttons, MsgDefault = MsgDefault::Yes) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        lastMessage = text;
        lastIcon = icon;
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    }
    std::optional<QString> openFileName(const QString &, const QString &, const QString &) override
    {
        if (fileAnswers.isEmpty())
            return std::nullopt;
        return fileAnswers.dequeue();
    }
    std::optional<QStringList> openFileNames(const QString &title, const QString &filter,
                                             const QString &proposed) override
    {
        const std::optional<QString> one = openFileName(title, filter, proposed);
        return one ? std::optional<QStringList>(QStringList{*one}) : std::nullopt;
    }
    std::optional<QString> saveFileName(const QString &, const QString &, const QString &, bool) override
    {
        if (fileAnswers.isEmpty())
            return std::nullopt;
        return fileAnswers.dequeue();
    }
    QString readPreference(const QString &section, const QString &key, const QString &defaultValue) override
    {
        return preferences.value(section + '/' + key, defaultValue);
    }
    void writePreference(const QString &section, const QString &key, const QString &value) override
    {
        preferences.insert(section + '/' + key, value);
    }
    QString programFolder() override { return folder; }
    QString userFolder() override { return user; }

    QString folder;
    QString user;          // the per-user folder: a folder of the picture folder
    QString lastMessage;   // what the last message box said, to draw it for a picture
    MsgIcon lastIcon = MsgIcon::None;
};

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

bool save(QWidget *window, const QString &path)
{
    settle();
    const bool ok = window->grab().save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

// window with popup (a menu or a message box, windows of their own) drawn where it shows
// over it.
bool saveWithPopup(QWidget *window, QWidget *popup, const QString &path)
{
    settle();
    QPixmap picture = window->grab();
    {
        QPainter painter(&picture);
        painter.drawPixmap(popup->mapToGlobal(QPoint(0, 0)) - window->mapToGlobal(QPoint(0, 0)), popup->grab());
    }
    const bool ok = picture.save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

// The setting editor as an author uses it: its Edit menu open after a change (Undo
// offers it back), then the check's report on a copy of the demo setting file in which
// a check box's two values are equal.
bool saveEditorCheckShots(bvlEditSetting &editor, ScreenshotPlatform &platform, const QString &folder,
                          const QString &out, const QString &suffix)
{
    editor.show();
    editor.txAuthor->setText(editor.txAuthor->text() + QStringLiteral(" (draft)"));
    editor.mnuEdit->popup(
        editor.menuBar->mapToGlobal(editor.menuBar->actionGeometry(editor.mnuEdit->menuAction()).bottomLeft()));
    editor.menuBar->setActiveAction(editor.mnuEdit->menuAction());
    bool ok = saveWithPopup(&editor, editor.mnuEdit, out + "/editor-edit-menu" + suffix + ".png");
    editor.mnuEdit->close();
    editor.mnfUndo->trigger();

    // The damaged copy lies outside the program folder, so that later pictures (the Setting
    // files window) do not list it.
    QTemporaryDir damaged;
    const QString checkedPath = JoinPath(damaged.path(), QStringLiteral("demo-check.sec"));
    SettingFileHeader header;
    SettingList settings;
    try {
        ReadSettingFile(JoinPath(folder, QStringLiteral("demo-phone.sec")), header, settings);
        const int box = FindSetting(settings, QStringLiteral("Key tones")).index();
        if (box < 1)
            return false;
        SettingStruct &s = settings[box - 1];
        s.Values = JoinValues({QString::number(s.BitMask), QString::number(s.BitMask)});
        WriteSettingFile(checkedPath, header, settings);
    } catch (const BvlError &) {
        return false;
    }
    platform.fileAnswers.enqueue(checkedPath);
    editor.mnfOpenSetting_Click();
    const QList<QListWidgetItem *> named = editor.lsSettings->findItems(QStringLiteral("Key tones"), Qt::MatchExactly);
    if (!named.isEmpty())
        editor.lsSettings->setCurrentItem(named.first());
    editor.mnfCheck_Click();
    QMessageBox report(platform.lastIcon == MsgIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                       editor.windowTitle(), platform.lastMessage, QMessageBox::Ok, &editor);
    report.setTextFormat(Qt::PlainText);
    report.show();
    settle();
    report.move(
        editor.mapToGlobal(QPoint((editor.width() - report.width()) / 2, (editor.height() - report.height()) / 2)));
    ok = saveWithPopup(&editor, &report, out + "/editor-check" + suffix + ".png") && ok;
    report.hide();
    return ok;
}

// A colleague's version of the demo setting file: another author, a setting renamed, one
// moved and described anew, one removed and one added.
SettingList ColleaguesVersion(SettingList settings)
{
    const auto find = [&settings](const char *name) -> SettingStruct & {
        const int k = FindSetting(settings, QString::fromLatin1(name)).index();
        return settings[std::max(k, 1) - 1];
    };
    find("Key tones").Name = QStringLiteral("Keypad tones");
    SettingStruct &volume = find("Master volume");
    volume.Offset += 1;
    volume.Description = QStringLiteral("Loudness of calls and alerts, 0 to 255");
    settings.removeAt(FindSetting(settings, QStringLiteral("Silent mode")).index() - 1);
    SettingStruct added = find("Keypad tones");
    added.Name = QStringLiteral("Vibrate on keys");
    added.Offset = 250;
    settings << added;
    return settings;
}

// The setting editor's comparison with a colleague's version of its file, and a merge of
// that version with one conflict.
bool saveCompareSecShots(bvlEditSetting &editor, ScreenshotPlatform &platform, const QString &folder,
                         const QString &out, const QString &suffix)
{
    QTemporaryDir shared;
    const QString theirs = JoinPath(shared.path(), QStringLiteral("colleague.sec"));
    try {
        SettingFileHeader header;
        SettingList settings;
        ReadSettingFile(JoinPath(folder, QStringLiteral("demo-phone.sec")), header, settings);
        settings = ColleaguesVersion(settings);
        header.Author = QStringLiteral("A colleague");
        header.SettingCount = qint32(settings.size());
        WriteSettingFile(theirs, header, settings);
    } catch (const BvlError &) {
        return false;
    }
    platform.fileAnswers.enqueue(JoinPath(folder, QStringLiteral("demo-phone.sec")));
    editor.mnfOpenSetting_Click();
    platform.fileAnswers.enqueue(theirs);
    editor.mnfCompare_Click();
    bvlCompareSec *comparison = editor.Comparison();
    if (!comparison)
        return false;
    comparison->resize(comparison->width(), 420);
    bool ok = save(comparison, out + "/editor-compare" + suffix + ".png");
    comparison->close();

    // The same merged into the file after an edit of the master volume's description: the
    // rest comes in as one step, the description is the one conflict.
    const int volume = FindSetting(editor.Document().records(), QStringLiteral("Master volume")).index();
    if (volume < 1)
        return false;
    SettingStruct described = editor.Document().record(volume);
    described.Description = QStringLiteral("Volume of the loudspeaker");
    editor.Document().replaceRecord(volume, described, QStringLiteral("Edit"));
    platform.fileAnswers.enqueue(theirs);
    platform.fileAnswers.enqueue(JoinPath(folder, QStringLiteral("demo-phone.sec")));
    editor.mnfMerge_Click();
    bvlMergeSec *merge = editor.Merging();
    if (!merge)
        return false;
    merge->tvConflicts->setCurrentItem(merge->tvConflicts->topLevelItem(0));
    merge->resize(merge->width(), 360);
    ok = save(merge, out + "/editor-merge" + suffix + ".png") && ok;
    merge->close();
    return ok;
}

// Makes folder with copies of the shipped files of source; false when it exists already.
bool MakeProgramFolder(const QString &source, const QString &folder)
{
    if (QFileInfo::exists(folder) || !QDir().mkpath(folder))
        return false;
    const QStringList files = QDir(source).entryList({"*.sel", "*.sec", "*.seem"}, QDir::Files);
    for (const QString &name : files)
        if (!QFile::copy(JoinPath(source, name), JoinPath(folder, name)))
            return false;
    return !files.isEmpty();
}

// The first setting of the given type in the demo file, to show in the setting dialog.
SettingStruct firstOfType(const SettingList &settings, SettingType type)
{
    for (const SettingStruct &s : settings)
        if (s.Type == quint8(type))
            return s;
    return settings.value(0);
}

// window as a desktop with a dark theme shows it: the program's own colours (change marks,
// warnings) follow the palette.
bool saveUnderDarkTheme(QWidget *window, const QString &path)
{
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(53, 53, 56));   // Qt derives light text for a dark button colour
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(40, 40, 43));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, QColor(228, 228, 228));
    dark.setColor(QPalette::Highlight, QColor(42, 110, 187));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    QApplication::setPalette(dark);
    settle();
    const bool ok = save(window, path);
    QApplication::setPalette(light);
    settle();
    return ok;
}

// The Changes menu at work on the open demo document: edits marked in the window, the
// review of them, the comparison with a copy of the image that differs in a few bytes, and
// the survey of a folder of a few phones' images.
bool saveChangeShots(bvlMain &main, ScreenshotPlatform &platform, const QString &folder, const QString &out,
                     const QString &suffix)
{
    auto control = [&main](const char *name) { return main.ControlOf(FindSetting(main.Settings, name).index()); };
    qobject_cast<QCheckBox *>(control("Key tones"))->setChecked(false);
    qobject_cast<QComboBox *>(control("Key tone volume"))->setCurrentIndex(4);
    qobject_cast<QComboBox *>(control("Ringer tone"))->setCurrentIndex(1);
    qobject_cast<QLineEdit *>(control("User name"))->setText(QStringLiteral("visitor"));
    main.ShowSetting(FindSetting(main.Settings, "Key tones").index());
    main.tvUI->expandAll();   // the marks of the nodes above a changed setting
    bool ok = save(&main, out + "/main-changes" + suffix + ".png");
    if (suffix.isEmpty())
        ok = saveUnderDarkTheme(&main, out + "/main-dark.png") && ok;

    main.ShowModal = [&](QDialog &dialog) {
        dialog.show();
        ok = save(&dialog, out + "/review-changes" + suffix + ".png") && ok;
    };
    main.mnfReviewChanges_Click();

    // Another phone's image: other ringer volume, access point and backlight time.
    QTemporaryDir elsewhere;
    QFile demo(JoinPath(folder, QStringLiteral("0032_0001.seem")));
    QByteArray bytes = demo.open(QIODevice::ReadOnly) ? demo.readAll() : QByteArray();
    const QByteArray original = bytes;
    bytes[0x13] = char(90);
    bytes.replace(0x40, 9, "web.other", 9);
    bytes[0xE1] = char(60);
    const QString otherPath = elsewhere.filePath(QStringLiteral("0032_0001-other.seem"));
    QFile other(otherPath);
    ok = other.open(QIODevice::WriteOnly) && other.write(bytes) == bytes.size() && ok;
    other.close();
    platform.fileAnswers.enqueue(otherPath);
    main.ShowModal = [&](QDialog &dialog) {
        dialog.show();
        ok = save(&dialog, out + "/compare" + suffix + ".png") && ok;
    };
    main.mnfCompare_Click();

    // Three phones: their ringer volumes, key tones, user names and a byte no setting
    // describes differ.
    QTemporaryDir phones;
    const BitCoverage coverage(main.Settings, original.size());
    qint64 undescribed = original.size() / 2;
    while (undescribed + 1 < original.size() && coverage.ownedBits(undescribed) != 0)
        ++undescribed;
    const QByteArray names[] = {"guest", "anna", "mario"};
    for (int i = 0; i < 3; ++i) {
        QByteArray image = original;
        image[0x13] = char(60 + 40 * i);
        if (i % 2)
            image[0x10] = char(image[0x10] ^ 0x01);
        image.replace(0x60, names[i].size() + 1, names[i] + '\0');
        image[undescribed] = char(i);
        QFile phone(phones.filePath(QStringLiteral("phone%1.seem").arg(i + 1)));
        ok = phone.open(QIODevice::WriteOnly) && phone.write(image) == image.size() && ok;
    }
    platform.fileAnswers.enqueue(phones.path());
    main.ShowModal = [&](QDialog &dialog) {
        if (auto *survey = qobject_cast<bvlSurvey *>(&dialog))
            survey->chVaryingOnly->setChecked(true);
        dialog.show();
        ok = save(&dialog, out + "/survey" + suffix + ".png") && ok;
    };
    main.mnfSurvey_Click();
    return ok;
}

}   // namespace

// Working out what bytes mean: a second image of the demo record in which one option and
// a few bytes no setting describes changed, the byte map of the two, and the setting
// dialog with its preview.
bool saveAuthoringShots(AppContext &ctx, bvlEditSetting &editor, ScreenshotPlatform &platform, const QString &folder,
                        const QString &out, const QString &suffix)
{
    const QString reference = JoinPath(folder, QStringLiteral("0032_0001.seem"));
    QFile file(reference);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray after = file.readAll();
    const BitCoverage coverage(editor.Document().records(), after.size());
    int changed = 0;
    for (qint64 i = after.size() / 3; i < after.size() && changed < 3; ++i)
        if (coverage.ownedBits(i) == 0) {
            after[i] = char(after[i] ^ (changed == 0 ? 0x04 : 0x5A));
            ++changed;
        }
    const int keyTones = FindSetting(editor.Document().records(), QStringLiteral("Key tones")).index();
    if (keyTones > 0) {
        const SettingStruct &s = editor.Document().record(keyTones);
        after[s.Offset] = char(after[s.Offset] ^ s.BitMask);
    }
    const QString second = JoinPath(folder, QStringLiteral("0032_0001-after.seem"));
    QFile secondFile(second);
    if (!secondFile.open(QIODevice::WriteOnly) || secondFile.write(after) != after.size())
        return false;
    secondFile.close();

    platform.fileAnswers.enqueue(reference);
    editor.mnfOpenReference_Click();
    platform.fileAnswers.enqueue(second);
    editor.mnfOpenSecond_Click();
    bvlByteMap *map = editor.ByteMap();
    map->show();
    map->cmNext_Click();
    bool ok = save(map, out + "/byte-map" + suffix + ".png");

    // The map over a folder of five phones' images: the ringer volume and two bytes no
    // setting describes vary.
    QTemporaryDir phones;
    QByteArray original = after;
    if (keyTones > 0) {
        const SettingStruct &s = editor.Document().record(keyTones);
        original[s.Offset] = char(original[s.Offset] ^ s.BitMask);
    }
    qint64 free[2] = {-1, -1};
    for (qint64 i = original.size() / 2, k = 0; i < original.size() && k < 2; ++i)
        if (coverage.ownedBits(i) == 0)
            free[k++] = i;
    for (int i = 0; i < 5 && free[1] >= 0; ++i) {
        QByteArray image = original;
        image[0x13] = char(40 * i + 20);
        image[free[0]] = char(i);
        image[free[1]] = char(i % 2 ? 0x80 : 0);
        QFile phone(phones.filePath(QStringLiteral("phone%1.seem").arg(i + 1)));
        ok = phone.open(QIODevice::WriteOnly) && phone.write(image) == image.size() && ok;
    }
    platform.fileAnswers.enqueue(phones.path());
    map->cmSurveyImages_Click();
    map->cmNext_Click();
    ok = save(map, out + "/byte-map-folder" + suffix + ".png") && ok;
    map->hide();

    bvlEditSettingDo *dialog = editor.SettingDialog();
    const int volume = FindSetting(editor.Document().records(), QStringLiteral("Key tone volume")).index();
    ctx.CurrentSetting = editor.Document().records().value(volume - 1);
    dialog->DoReadSettingStruct();
    dialog->SetEditedRecord(volume);
    dialog->show();
    ok = save(dialog, out + "/setting-preview" + suffix + ".png") && ok;
    dialog->hide();
    return ok;
}

// A list whose value in the image is none of its entries: a copy of the demo image with
// Key tone volume's bits set to a value the setting file does not name, opened as a user
// would open it (the edits of the shots before are dropped).
bool saveNotInListShot(bvlMain &main, const QString &folder, const QString &out, const QString &suffix)
{
    const int index = FindSetting(main.Settings, "Key tone volume").index();
    if (index < 1)
        return false;
    const SettingStruct setting = main.Settings.at(index - 1);
    const QVector<qint32> named = SettingCodec::ValueNumbers(setting);
    int stray = -1;
    for (int bits = 0; bits < 256 && stray < 0; ++bits)
        if ((bits & ~setting.BitMask) == 0 && !named.contains(bits))
            stray = bits;
    QFile demo(JoinPath(folder, QStringLiteral("0032_0001.seem")));
    if (stray < 0 || !demo.open(QIODevice::ReadOnly))
        return false;
    QByteArray image = demo.readAll();
    if (setting.Offset >= image.size())
        return false;
    image[setting.Offset] = char((quint8(image.at(setting.Offset)) & ~setting.BitMask) | stray);
    const QString other = JoinPath(folder, QStringLiteral("other"));
    QDir().mkpath(other);
    QFile copy(JoinPath(other, QStringLiteral("0032_0001.seem")));
    if (!copy.open(QIODevice::WriteOnly) || copy.write(image) != image.size())
        return false;
    copy.close();
    main.OpenSEEM(copy.fileName());
    main.ShowSetting(index);
    return save(&main, out + "/list-not-in-list" + suffix + ".png");
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool fontShot = argc > 8 && QString::fromLocal8Bit(argv[5]) == QStringLiteral("--font-size");
    if (fontShot) {
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * QString::fromLocal8Bit(argv[6]).toDouble() / 100);
        QApplication::setFont(font);
    }
    const bool fontShotOfEditor = fontShot && QString::fromLocal8Bit(argv[7]) == QStringLiteral("editor");
    const QString fontShotPath = fontShot ? QString::fromLocal8Bit(argv[4]) + QLatin1Char('/')
                                                + QString::fromLocal8Bit(argv[8]) + QStringLiteral(".png")
                                          : QString();
    if (argc < 5) {
        std::fprintf(stderr, "usage: bvl-screenshots <source folder> <program folder> <language file> "
                             "<output folder> [suffix [main]]\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString folder = QDir::toNativeSeparators(QDir(QString::fromLocal8Bit(argv[2])).absolutePath());
    const QString language = QString::fromLocal8Bit(argv[3]);
    const QString out = QString::fromLocal8Bit(argv[4]);
    const bool wholeScreen = argc > 6 && QString::fromLocal8Bit(argv[5]) == QStringLiteral("--screen");
    const QString suffix = argc > 5 && !wholeScreen && !fontShot ? QString::fromLocal8Bit(argv[5]) : QString();
    const bool mainOnly = !wholeScreen && argc > 6 && QString::fromLocal8Bit(argv[6]) == QLatin1String("main");
    QDir().mkpath(out);
    if (!MakeProgramFolder(source, folder)) {
        std::fprintf(stderr, "cannot make a fresh program folder %s from %s\n", qPrintable(folder), qPrintable(source));
        return 1;
    }
    // Removed however the pictures went; it held nothing but copies.
    struct FolderRemover
    {
        QString path;
        ~FolderRemover() { QDir(path).removeRecursively(); }
    } remover{folder};

    ScreenshotPlatform platform;
    platform.folder = folder;
    platform.user = JoinPath(folder, QStringLiteral("per-user"));
    platform.preferences.insert(QStringLiteral("Lang/Language"), JoinPath(folder, language));
    AppContext ctx(platform);

    bvlMain main(ctx);
    if (!main.Form_Load())
        return 1;
    main.show();
    // What the window says before any file is open.
    if (!wholeScreen && !mainOnly && !fontShot && !save(&main, out + "/first-start" + suffix + ".png"))
        return 1;
    platform.fileAnswers.enqueue(JoinPath(folder, QStringLiteral("0032_0001.seem")));
    main.mnfOpenSEEM_Click();
    if (QTreeWidgetItem *node = main.NodeByKey(QStringLiteral("Sound")))
        main.tvUI->setCurrentItem(node);
    if (wholeScreen) {
        settle();
        const QString path = out + QLatin1Char('/') + QString::fromLocal8Bit(argv[6]) + QStringLiteral(".png");
        const bool saved = main.screen()->grabWindow(0).save(path);
        std::fprintf(stderr, "%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
        return saved ? 0 : 1;
    }
    if (fontShot && !fontShotOfEditor)
        return save(&main, fontShotPath) ? 0 : 1;
    bool ok = fontShot || save(&main, out + "/main" + suffix + ".png");
    if (mainOnly) {
        // A save of five settings: the status line counts them in the language's plural form.
        auto control = [&main](const char *name) { return main.ControlOf(FindSetting(main.Settings, name).index()); };
        qobject_cast<QCheckBox *>(control("Key tones"))->setChecked(false);
        qobject_cast<QComboBox *>(control("Key tone volume"))->setCurrentIndex(4);
        qobject_cast<QComboBox *>(control("Ringer tone"))->setCurrentIndex(1);
        qobject_cast<QLineEdit *>(control("User name"))->setText(QStringLiteral("visitor"));
        qobject_cast<QCheckBox *>(control("Silent mode"))->setChecked(true);
        platform.fileAnswers.enqueue(JoinPath(folder, QStringLiteral("0032_0001.seem")));
        ok = main.mnfSaveSEEM_Click() && save(&main, out + "/main-saved" + suffix + ".png") && ok;
        return ok ? 0 : 1;
    }

    bvlEditSetting editor(ctx, &main);
    platform.fileAnswers.enqueue(JoinPath(folder, QStringLiteral("demo-phone.sec")));
    editor.mnfOpenSetting_Click();
    editor.lsSettings->setCurrentRow(0);   // the group line under the list shows its group
    editor.show();
    if (fontShot)
        return save(&editor, fontShotPath) ? 0 : 1;
    ok = save(&editor, out + "/editor" + suffix + ".png") && ok;

    bvlEditSettingDo &dialog = *editor.SettingDialog();
    ctx.CurrentSetting = firstOfType(editor.Document().records(), SettingType::ValueList);
    dialog.DoReadSettingStruct();
    dialog.cbSettingValueList->setCurrentIndex(0);   // a chosen state shows its value
    dialog.show();
    ok = save(&dialog, out + "/setting-dialog" + suffix + ".png") && ok;
    dialog.hide();

    editor.FreshGroups();
    bvlGroupBrowse *browser = editor.GroupBrowser();
    browser->lsGroups->setCurrentRow(0);
    browser->show();
    ok = save(browser, out + "/group-browser" + suffix + ".png") && ok;
    browser->hide();
    ok = saveAuthoringShots(ctx, editor, platform, folder, out, suffix) && ok;
    ok = saveEditorCheckShots(editor, platform, folder, out, suffix) && ok;
    ok = saveCompareSecShots(editor, platform, folder, out, suffix) && ok;
    editor.hide();

    bvlAbout about(ctx, &main);
    about.show();
    for (int i = 0; i < 1500; ++i)
        about.tmAnimation_Timer();
    ok = save(&about, out + "/about" + suffix + ".png") && ok;
    about.hide();

    ok = saveChangeShots(main, platform, folder, out, suffix) && ok;
    ok = saveNotInListShot(main, folder, out, suffix) && ok;

    // Setting files: the shipped demo file, and a copy the user installed into the
    // per-user folder.
    QDir().mkpath(platform.user);
    QFile::copy(JoinPath(folder, QStringLiteral("demo-phone.sec")),
                JoinPath(platform.user, QStringLiteral("my-phone.sec")));
    {
        bvlSettingFiles files(ctx, &main);
        files.lsFiles->setCurrentItem(files.lsFiles->topLevelItem(0));
        files.show();
        ok = save(&files, out + "/setting-files" + suffix + ".png") && ok;
    }
    return ok ? 0 : 1;
}
