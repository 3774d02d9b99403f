#include "seem/authoring/SettingFileSteps.h"

AppendStep::AppendStep(SettingFileDocument &document, SettingList added, const QString &text)
    : DocumentStep(document, text), m_added(std::move(added))
{}

void AppendStep::redo()
{
    const int first = int(records().size()) + 1;
    records() += m_added;
    changed(RecordChange::Appended, first, int(m_added.size()), int(records().size()));
}

void AppendStep::undo()
{
    records().resize(records().size() - m_added.size());
    changed(RecordChange::Rebuilt, 1, int(records().size()), 0);
}

InsertStep::InsertStep(SettingFileDocument &document, int k, SettingStruct record, const QString &text)
    : DocumentStep(document, text), m_k(k), m_record(std::move(record))
{}

void InsertStep::redo()
{
    records().insert(m_k - 1, m_record);
    changed(RecordChange::Rebuilt, 1, int(records().size()), m_k);
}

void InsertStep::undo()
{
    records().removeAt(m_k - 1);
    changed(RecordChange::Rebuilt, 1, int(records().size()), 0);
}

RemoveStep::RemoveStep(SettingFileDocument &document, QVector<int> ks, const QString &text)
    : DocumentStep(document, text), m_ks(std::move(ks))
{}

void RemoveStep::redo()
{
    // One pass that keeps the records not removed: linear however many go.
    SettingList &all = records();
    m_removed.clear();
    SettingList kept;
    kept.reserve(all.size() - m_ks.size());
    int next = 0;
    for (int k = 1; k <= all.size(); ++k) {
        if (next < m_ks.size() && m_ks.at(next) == k) {
            m_removed.append(all.at(k - 1));
            ++next;
        } else {
            kept.append(all.at(k - 1));
        }
    }
    all = std::move(kept);
    changed(RecordChange::Rebuilt, 1, int(all.size()), 0);
}

void RemoveStep::undo()
{
    SettingList &all = records();
    SettingList whole;
    whole.reserve(all.size() + m_removed.size());
    int next = 0;
    int kept = 0;
    for (int k = 1; k <= all.size() + m_removed.size(); ++k) {
        if (next < m_ks.size() && m_ks.at(next) == k)
            whole.append(m_removed.at(next++));
        else
            whole.append(all.at(kept++));
    }
    all = std::move(whole);
    changed(RecordChange::Rebuilt, 1, int(all.size()), m_ks.first());
}

ReplaceStep::ReplaceStep(SettingFileDocument &document, int k, SettingStruct after, const QString &text)
    : DocumentStep(document, text), m_k(k), m_before(records().at(k - 1)), m_after(std::move(after))
{}

void ReplaceStep::redo()
{
    records()[m_k - 1] = m_after;
    changed(RecordChange::Replaced, m_k, 1, m_k);
}

void ReplaceStep::undo()
{
    records()[m_k - 1] = m_before;
    changed(RecordChange::Replaced, m_k, 1, m_k);
}

MoveStep::MoveStep(SettingFileDocument &document, int from, int to, const QString &text)
    : DocumentStep(document, text), m_from(from), m_to(to)
{}

void MoveStep::redo()
{
    records().move(m_from - 1, m_to - 1);
    changed(RecordChange::Rebuilt, 1, int(records().size()), m_to);
}

void MoveStep::undo()
{
    records().move(m_to - 1, m_from - 1);
    changed(RecordChange::Rebuilt, 1, int(records().size()), m_from);
}

HeaderStep::HeaderStep(SettingFileDocument &document, SettingFileDocument::HeaderField field, QString after,
                       const QString &text)
    : DocumentStep(document, text), m_field(field), m_before(headerText(field)), m_after(std::move(after))
{}

int HeaderStep::id() const
{
    return 1 + int(m_field);
}

bool HeaderStep::mergeWith(const QUndoCommand *other)
{
    // Typing on in the same box grows the step; typed back to where it started, the step
    // is gone and the file may be clean again.
    m_after = static_cast<const HeaderStep *>(other)->m_after;
    setObsolete(m_after == m_before);
    return true;
}

void HeaderStep::redo()
{
    headerText(m_field) = m_after;
    headerChanged(m_field);
}

void HeaderStep::undo()
{
    headerText(m_field) = m_before;
    headerChanged(m_field);
}

ContentsStep::ContentsStep(SettingFileDocument &document, SettingList after, HeaderTexts headerAfter,
                           const QString &text)
    : DocumentStep(document, text),
      m_before(records()),
      m_after(std::move(after)),
      m_headerAfter(std::move(headerAfter))
{
    for (int i = 0; i < SettingFileDocument::HeaderFieldCount; ++i)
        m_headerBefore[std::size_t(i)] = headerText(SettingFileDocument::HeaderField(i));
}

void ContentsStep::take(const SettingList &records, const HeaderTexts &header)
{
    for (int i = 0; i < SettingFileDocument::HeaderFieldCount; ++i) {
        const auto field = SettingFileDocument::HeaderField(i);
        if (headerText(field) != header[std::size_t(i)]) {
            headerText(field) = header[std::size_t(i)];
            headerChanged(field);
        }
    }
    this->records() = records;
    changed(RecordChange::Rebuilt, 1, int(records.size()), 0);
}

void ContentsStep::redo()
{
    take(m_after, m_headerAfter);
}

void ContentsStep::undo()
{
    take(m_before, m_headerBefore);
}

CodePageStep::CodePageStep(SettingFileDocument &document, SettingList after, HeaderTexts headerAfter, int codePageAfter,
                           const QString &text)
    : ContentsStep(document, std::move(after), std::move(headerAfter), text),
      m_codePageBefore(codePage()),
      m_codePageAfter(codePageAfter)
{}

// The code page first: the views read the texts again in it.
void CodePageStep::redo()
{
    codePage() = m_codePageAfter;
    ContentsStep::redo();
}

void CodePageStep::undo()
{
    codePage() = m_codePageBefore;
    ContentsStep::undo();
}
