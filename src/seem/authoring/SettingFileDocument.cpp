#include "seem/authoring/SettingFileDocument.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "seem/authoring/SettingFileSteps.h"

#include <QSet>
#include <QUndoStack>

#include <algorithm>

SettingFileDocument::SettingFileDocument(QObject *parent)
    : QObject(parent), m_codePage(CodePage::Current()), m_undo(new QUndoStack(this))
{
    connect(m_undo, &QUndoStack::cleanChanged, this, &SettingFileDocument::cleanChanged);
}

SettingFileDocument::~SettingFileDocument()
{
    // The steps go with the stack, a child of this object, after this part of it is gone.
    disconnect(m_undo, nullptr, this, nullptr);
}

bool SettingFileDocument::isClean() const
{
    return m_undo->isClean();
}

QStringList SettingFileDocument::groups() const
{
    QStringList groups;
    QSet<QString> seen;
    for (const SettingStruct &record : m_records)
        if (!seen.contains(record.Group)) {
            seen.insert(record.Group);
            groups << record.Group;
        }
    return groups;
}

SettingFileHeader SettingFileDocument::headerToCheck() const
{
    SettingFileHeader header = m_readHeader;
    header.Magic = SettingFileFormat::Magic;
    header.FileVersion = SettingFileFormat::Version;
    header.ProgramVersion = VersionString();
    header.SettingCount = qint32(m_records.size());
    header.Author = headerText(HeaderField::Author);
    header.Phones = headerText(HeaderField::Phones);
    try {
        header.SEEMNr = HexToInt16(headerText(HeaderField::SeemNumber));
        header.SEEMRec = HexToInt16(headerText(HeaderField::SeemRecord));
    } catch (const BvlError &) {
        // a save refuses them (headerToSave)
    }
    return header;
}

SettingFileHeader SettingFileDocument::headerToSave() const
{
    SettingFileHeader header = headerToCheck();
    header.SEEMNr = HexToInt16(headerText(HeaderField::SeemNumber));
    header.SEEMRec = HexToInt16(headerText(HeaderField::SeemRecord));
    return header;
}

void SettingFileDocument::setHeaderTextsSilently(const SettingFileHeader &header)
{
    m_headerTexts = {header.Author, header.Phones, HexText16(header.SEEMNr), HexText16(header.SEEMRec)};
}

void SettingFileDocument::clear()
{
    m_undo->clear();
    m_path.clear();
    m_readHeader = SettingFileHeader();
    m_headerTexts = {};
    m_records.clear();
    m_trailing.clear();
    m_codePage = CodePage::Current();
    m_undo->setClean();
    emit reset();
}

void SettingFileDocument::load(const QString &path, const SettingFileHeader &header, const SettingList &records,
                               const QByteArray &trailing)
{
    m_undo->clear();
    m_path = path;
    m_trailing = trailing;
    m_readHeader = header;
    setHeaderTextsSilently(header);
    m_records = records;
    m_codePage = CodePage::Current();
    m_undo->setClean();
    emit reset();
}

void SettingFileDocument::read(const QString &path)
{
    SettingFileHeader header;
    SettingList records;
    QByteArray trailing;
    ReadSettingFile(path, header, records, &trailing);
    switch (CheckSettingHeader(header)) {
    case HeaderCheck::UnknownFile:
        throw BvlError(ErrNo::NotSettingFile, QStringLiteral("not a setting file"));
    case HeaderCheck::UnsupportedVersion:
        throw BvlError(ErrNo::NotSettingFile,
                       QStringLiteral("format version %1 is not read").arg(QString::number(header.FileVersion)));
    case HeaderCheck::Accepted:
        break;
    }
    load(path, header, records, trailing);
}

void SettingFileDocument::save(const QString &path)
{
    const SettingFileHeader header = headerToSave();
    {
        // The texts are written as the bytes they were read from.
        const CodePage::Scope readIn(m_codePage);
        WriteSettingFile(path, header, m_records, m_trailing);
    }
    m_path = path;
    m_readHeader = header;
    m_undo->setClean();
}

void SettingFileDocument::emitRecords(RecordChange change, int first, int count, int focus)
{
    emit recordsChanged(change, first, count, focus);
}

void SettingFileDocument::appendRecords(const SettingList &records, const QString &text)
{
    if (!records.isEmpty())
        m_undo->push(new AppendStep(*this, records, text));
}

void SettingFileDocument::insertRecord(int k, const SettingStruct &record, const QString &text)
{
    m_undo->push(new InsertStep(*this, k, record, text));
}

void SettingFileDocument::removeRecords(QVector<int> ks, const QString &text)
{
    std::sort(ks.begin(), ks.end());
    ks.erase(std::unique(ks.begin(), ks.end()), ks.end());
    if (!ks.isEmpty())
        m_undo->push(new RemoveStep(*this, ks, text));
}

void SettingFileDocument::replaceRecord(int k, const SettingStruct &record, const QString &text)
{
    if (m_records.at(k - 1) != record)
        m_undo->push(new ReplaceStep(*this, k, record, text));
}

void SettingFileDocument::moveRecord(int from, int to, const QString &text)
{
    if (from != to)
        m_undo->push(new MoveStep(*this, from, to, text));
}

void SettingFileDocument::setHeaderText(HeaderField field, const QString &text, const QString &stepText)
{
    if (headerText(field) != text)
        m_undo->push(new HeaderStep(*this, field, text, stepText));
}

void SettingFileDocument::setCodePage(int codePage, const QString &text)
{
    if (codePage == m_codePage)
        return;
    // Each text stands for the bytes it would have been saved as.
    const int was = m_codePage;
    const auto reread = [was, codePage](QString &text) {
        try {
            text = CodePage::decode(codePage, CodePage::encode(was, text));
        } catch (const BvlError &) {
            // a character the old code page had no byte for: it stays as typed
        }
    };
    SettingList after = m_records;
    for (SettingStruct &s : after)
        for (QString *text : {&s.Name, &s.Description, &s.Group, &s.ValueNames, &s.Values})
            reread(*text);
    // The SEEM numbers are typed digits, not texts of the code page.
    ContentsStep::HeaderTexts headerAfter = m_headerTexts;
    for (HeaderField field : {HeaderField::Author, HeaderField::Phones})
        reread(headerAfter[std::size_t(field)]);
    if (after == m_records && headerAfter == m_headerTexts) {
        m_codePage = codePage;   // nothing reads differently: no step
        return;
    }
    // The steps before hold texts of the other code page: they cannot come back. A clean
    // file stays clean: its bytes are the same, only what they stand for is new.
    const bool wasClean = isClean();
    m_undo->clear();
    m_undo->push(new CodePageStep(*this, std::move(after), std::move(headerAfter), codePage, text));
    if (wasClean) {
        m_undo->clear();
        m_undo->setClean();
    }
}
