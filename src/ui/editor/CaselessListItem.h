#pragma once
#include <QListWidgetItem>

// A list entry that sorts by its text ignoring letter case, as the desktop's sorted list
// boxes do: "alpha" comes before "Zeta".
class CaselessListItem : public QListWidgetItem
{
public:
    using QListWidgetItem::QListWidgetItem;

    bool operator<(const QListWidgetItem &other) const override
    {
        return text().compare(other.text(), Qt::CaseInsensitive) < 0;
    }
};
