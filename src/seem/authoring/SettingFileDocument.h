#pragma once
#include "core/SettingTypes.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <array>

class QUndoStack;

// One setting file being written: where it was read from, its header, its records
// (numbered 1..n in storage order) and the code page its texts were read in. The setting
// editor, its dialogs and the byte map are views of it; the command line's import and
// check read the same records.
//
// Every edit is one step on the undo stack, and the file counts as saved exactly while the
// stack is at its clean state. A file read and saved unchanged gives back the bytes it was
// read from (the header's program version aside, which a save stamps).
class SettingFileDocument : public QObject
{
    Q_OBJECT
public:
    // The four header fields as the user types them; the SEEM and record numbers are
    // hexadecimal texts, converted only when the file is saved.
    enum class HeaderField {
        Author,
        Phones,
        SeemNumber,
        SeemRecord
    };
    static constexpr int HeaderFieldCount = 4;

    // What changed in the records, so that a view can keep what the user sees where it can.
    enum class RecordChange {
        Appended,   // records first..first+count-1 were added behind the others
        Replaced,   // record first holds another record
        Rebuilt     // anything else: removals, moves, undo of an append, a new code page
    };

    explicit SettingFileDocument(QObject *parent = nullptr);
    ~SettingFileDocument() override;

    // The file last read or saved; empty for a new file.
    const QString &path() const { return m_path; }
    const SettingList &records() const { return m_records; }
    int count() const { return int(m_records.size()); }
    const SettingStruct &record(int k) const { return m_records.at(k - 1); }
    // The distinct groups of the records, in storage order of their first use.
    QStringList groups() const;

    // The header as read (the version line shows it) and the header boxes as typed.
    const SettingFileHeader &readHeader() const { return m_readHeader; }
    const QString &headerText(HeaderField field) const { return m_headerTexts[std::size_t(field)]; }
    // The header a save writes: format, program version and count stamped, the typed
    // fields converted. Throws BvlError (13, 6) for a number box that does not convert.
    SettingFileHeader headerToSave() const;
    // The same, with numbers that do not convert left as read: for checking before a save.
    SettingFileHeader headerToCheck() const;

    int codePage() const { return m_codePage; }
    QUndoStack *undoStack() const { return m_undo; }
    bool isClean() const;

    // An empty file, clean, with no path.
    void clear();
    // Takes a file read (and accepted) from path, in the current code page: clean. trailing
    // are the bytes the file held after its last record; a save gives them back.
    void load(const QString &path, const SettingFileHeader &header, const SettingList &records,
              const QByteArray &trailing = QByteArray());
    // Reads the file at path through the setting-file reader; throws as the reader does,
    // and BvlError(NotSettingFile) for a header it refuses. Nothing changes then.
    void read(const QString &path);
    // Writes the file to path in one piece (a failure leaves the old file and the
    // unsaved state as they were); then the document is clean and has that path.
    void save(const QString &path);

    // Edits, each one undo step named text.
    void appendRecords(const SettingList &records, const QString &text);
    void insertRecord(int k, const SettingStruct &record, const QString &text);
    void removeRecords(QVector<int> ks, const QString &text);
    // Nothing happens when record k is already equal to record.
    void replaceRecord(int k, const SettingStruct &record, const QString &text);
    void moveRecord(int from, int to, const QString &text);
    // Typing on in the same field grows one step; typed back, the step is gone.
    void setHeaderText(HeaderField field, const QString &text, const QString &stepText);
    // Reads every text again from the bytes it stands for in the other code page. A clean
    // file stays clean (its bytes do not change); otherwise the texts change as one step,
    // after which the steps before it cannot come back (they hold the old code page's
    // texts). Characters the old code page has no byte for stay as they are.
    void setCodePage(int codePage, const QString &text);

signals:
    // Another file (or none) is in the document.
    void reset();
    // The records changed; focus is the record the change is about (0 for none).
    void recordsChanged(SettingFileDocument::RecordChange change, int first, int count, int focus);
    void headerTextChanged(SettingFileDocument::HeaderField field);
    void cleanChanged(bool clean);

private:
    friend class DocumentStep;
    struct Contents;
    void setHeaderTextsSilently(const SettingFileHeader &header);
    void emitRecords(RecordChange change, int first, int count, int focus);

    QString m_path;
    SettingFileHeader m_readHeader;
    std::array<QString, HeaderFieldCount> m_headerTexts;
    SettingList m_records;
    QByteArray m_trailing;   // what followed the last record in the file read
    int m_codePage;
    QUndoStack *m_undo;
};
