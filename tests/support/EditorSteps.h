#pragma once
// Steps the setting editor's tests share: adding through the dialog, putting records in,
// reading the list, selecting entries, writing a setting file to open.
#include "core/SettingFile.h"
#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
#include "support/SeemFixtures.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/editor/bvlEditSettingDo.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace EditorSteps {

// Adds an 8-bit setting through the setting dialog, as a user would.
inline void addThroughDialog(bvlEditSetting &editor, const QString &name, const QString &group)
{
    OnNextModal([name, group](QDialog *dialog) {
        auto *d = static_cast<bvlEditSettingDo *>(dialog);
        Ui(*d).opType[2]->setChecked(true);
        Ui(*d).txSettingName->setText(name);
        Ui(*d).txSettingGroup->setText(group);
        Ui(*d).txOffsetDec->setText(QStringLiteral("0"));
        Ui(*d).cmOK->click();
    });
    editor.cmAdd_Click();
}

// Puts records named names (group "G" + name) into the editor as a loaded file would.
inline void load(bvlEditSetting &editor, const QStringList &names)
{
    SettingList records;
    for (const QString &name : names)
        records << MakeSetting(name, QStringLiteral("G") + name, SettingType::Int8);
    PutRecords(editor, records);
}

inline QStringList listTexts(const bvlEditSetting &editor)
{
    QStringList texts;
    for (int row = 0; row < Ui(editor).lsSettings->count(); ++row)
        texts << Ui(editor).lsSettings->item(row)->text();
    return texts;
}

inline QStringList storedNames(const bvlEditSetting &editor)
{
    QStringList names;
    for (const SettingStruct &s : editor.Document().records())
        names << s.Name;
    return names;
}

// Every entry maps to its own record and every record has one entry.
inline void verifyListMapsRecords(const bvlEditSetting &editor)
{
    QCOMPARE(Ui(editor).lsSettings->count(), editor.Document().records().size());
    QSet<int> seen;
    for (int row = 0; row < Ui(editor).lsSettings->count(); ++row) {
        const int k = Ui(editor).lsSettings->item(row)->data(Qt::UserRole).toInt();
        QVERIFY(k >= 1 && k <= editor.Document().records().size());
        QVERIFY(!seen.contains(k));
        seen.insert(k);
        QCOMPARE(Ui(editor).lsSettings->item(row)->text(), editor.Document().records()[k - 1].Name);
    }
}

// Makes the entries with these texts the selection, the first of them current.
inline void select(bvlEditSetting &editor, const QStringList &texts)
{
    Ui(editor).lsSettings->clearSelection();
    bool first = true;
    for (const QString &text : texts) {
        QListWidgetItem *item = Ui(editor).lsSettings->findItems(text, Qt::MatchExactly).value(0);
        QVERIFY2(item, qPrintable(text));
        if (first)
            Ui(editor).lsSettings->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        first = false;
        item->setSelected(true);
    }
}

inline SettingFileHeader header(qint16 seemNr = 0x32, qint16 seemRec = 1)
{
    SettingFileHeader h = SeemFixtures::SecHeader(seemNr, seemRec);
    h.ProgramVersion = QStringLiteral("0.9_Old");
    h.Phones = QStringLiteral("Vaka 3");
    return h;
}

inline QString writeFile(const QTemporaryDir &dir, const QString &name, SettingFileHeader h,
                         const SettingList &settings)
{
    h.SettingCount = qint32(settings.size());
    const QString path = dir.filePath(name);
    WriteSettingFile(path, h, settings);
    return path;
}

inline QString inputError(AppContext &ctx, int number)
{
    return ctx.T(QStringLiteral("bvlEditSetting.wssInputDataError_M")) + QStringLiteral(" (ERR %1)").arg(number);
}

// The setting dialog's steps.

inline void selectBits(bvlEditSettingDo &d, std::initializer_list<int> bits)
{
    for (int bit : bits)
        Ui(d).chBit[bit]->setChecked(true);
}

inline void loseFocus(QWidget *box)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

// The fields every type needs, so that storing can succeed.
inline void fillRequired(bvlEditSettingDo &d, const QString &name, const QString &group, const QString &offset)
{
    Ui(d).txSettingName->setText(name);
    Ui(d).txSettingGroup->setText(group);
    Ui(d).txOffsetDec->setText(offset);
}

// The state names and values in list order.
inline QStringList states(const QComboBox *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->itemText(i) + QLatin1Char('=') + list->itemData(i).toString();
    return result;
}

}   // namespace EditorSteps
