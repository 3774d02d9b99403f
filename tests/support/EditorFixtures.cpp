#include "support/EditorFixtures.h"

#include "ui/editor/bvlEditSetting.h"

#include <QUndoStack>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

EditorFixture::EditorFixture()
{
    if (!ctx.lang.LoadLanguageFile(QStringLiteral(BVL_DATA_DIR "/english.sel")))
        QTest::qFail("english.sel does not load", __FILE__, __LINE__);
}

void OnNextModal(std::function<void(QDialog *dialog)> act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QTest::qFail("no modal dialog is open", __FILE__, __LINE__);
            return;
        }
        act(dialog);
        if (dialog->isVisible() && QApplication::activeModalWidget() == dialog) {
            dialog->done(QDialog::Rejected);
            QTest::qFail("the scripted action left the dialog open", __FILE__, __LINE__);
        }
    });
}

void ChooseLanguageOnNextModal(const QString &language)
{
    OnNextModal([language](QDialog *dialog) {
        auto *list = dialog->findChild<QListWidget *>("lsLanguages");
        const auto items = list->findItems(language, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        list->setCurrentItem(items.first());
        dialog->findChild<QPushButton *>("cmOK")->click();
    });
}

UnexpectedModalGuard::UnexpectedModalGuard() : m_timer(new QTimer(this))
{
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            opened = true;
            dialog->done(QDialog::Rejected);
        }
    });
    m_timer->start();
}

SettingStruct MakeSetting(const QString &name, const QString &group, SettingType type, qint32 offset)
{
    SettingStruct s;
    s.Name = name;
    s.Group = group;
    s.Type = quint8(type);
    s.Offset = offset;
    return s;
}

void PressKey(QWidget *widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

void PutRecords(bvlEditSetting &editor, const SettingList &records)
{
    SettingFileDocument &document = editor.Document();
    document.clear();
    document.appendRecords(records, QStringLiteral("Put"));
    document.undoStack()->clear();
    document.undoStack()->setClean();
}
