#pragma once
#include "seem/authoring/SettingFileDocument.h"

#include <QUndoCommand>

#include <array>

// The undo steps of a setting-file document, one class per kind of edit. Each keeps only
// what it changes, so a step costs what it touches, not the whole file.
class DocumentStep : public QUndoCommand
{
public:
    DocumentStep(SettingFileDocument &document, const QString &text) : QUndoCommand(text), m_document(document) {}

protected:
    using RecordChange = SettingFileDocument::RecordChange;
    SettingList &records() { return m_document.m_records; }
    QString &headerText(SettingFileDocument::HeaderField field) { return m_document.m_headerTexts[std::size_t(field)]; }
    int &codePage() { return m_document.m_codePage; }
    void changed(RecordChange change, int first, int count, int focus)
    {
        m_document.emitRecords(change, first, count, focus);
    }
    void headerChanged(SettingFileDocument::HeaderField field) { emit m_document.headerTextChanged(field); }

private:
    SettingFileDocument &m_document;
};

class AppendStep : public DocumentStep
{
public:
    AppendStep(SettingFileDocument &document, SettingList added, const QString &text);
    void redo() override;
    void undo() override;

private:
    SettingList m_added;
};

class InsertStep : public DocumentStep
{
public:
    InsertStep(SettingFileDocument &document, int k, SettingStruct record, const QString &text);
    void redo() override;
    void undo() override;

private:
    int m_k;
    SettingStruct m_record;
};

class RemoveStep : public DocumentStep
{
public:
    // ks ascending, without repeats.
    RemoveStep(SettingFileDocument &document, QVector<int> ks, const QString &text);
    void redo() override;
    void undo() override;

private:
    QVector<int> m_ks;
    SettingList m_removed;   // in the order of m_ks
};

class ReplaceStep : public DocumentStep
{
public:
    ReplaceStep(SettingFileDocument &document, int k, SettingStruct after, const QString &text);
    void redo() override;
    void undo() override;

private:
    int m_k;
    SettingStruct m_before;
    SettingStruct m_after;
};

class MoveStep : public DocumentStep
{
public:
    MoveStep(SettingFileDocument &document, int from, int to, const QString &text);
    void redo() override;
    void undo() override;

private:
    int m_from;
    int m_to;
};

class HeaderStep : public DocumentStep
{
public:
    HeaderStep(SettingFileDocument &document, SettingFileDocument::HeaderField field, QString after,
               const QString &text);
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;
    void redo() override;
    void undo() override;

private:
    SettingFileDocument::HeaderField m_field;
    QString m_before;
    QString m_after;
};

// The records and the four header texts replaced as a whole, given back on undo: a merge
// that takes another file's changes in one step, and what a code page switch reads anew.
class ContentsStep : public DocumentStep
{
public:
    using HeaderTexts = std::array<QString, SettingFileDocument::HeaderFieldCount>;
    ContentsStep(SettingFileDocument &document, SettingList after, HeaderTexts headerAfter, const QString &text);
    void redo() override;
    void undo() override;

private:
    void take(const SettingList &records, const HeaderTexts &header);

    SettingList m_before;
    SettingList m_after;
    HeaderTexts m_headerBefore;
    HeaderTexts m_headerAfter;
};

// Every text read again in another code page: the records and the header's texts as the
// new code page reads their bytes, and the code page itself.
class CodePageStep : public ContentsStep
{
public:
    CodePageStep(SettingFileDocument &document, SettingList after, HeaderTexts headerAfter, int codePageAfter,
                 const QString &text);
    void redo() override;
    void undo() override;

private:
    int m_codePageBefore;
    int m_codePageAfter;
};
