#include "collection/ChoiceList.h"

#include <QComboBox>

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

QString Decoded(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QByteArray Bytes(std::string_view bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

bool LessIgnoringCase(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

ChoiceList::ChoiceList(QComboBox* box)
    : box_(box)
{
}

QString ChoiceList::Key(const QString& text)
{
    return text.toCaseFolded();
}

bool ChoiceList::Contains(std::string_view bytes) const
{
    return keys_.contains(Key(Decoded(bytes)));
}

void ChoiceList::Add(std::string_view bytes)
{
    const QString text = Decoded(bytes);
    if (!keys_.contains(Key(text))) {
        int low = 0;
        int high = box_->count();
        while (low < high) {
            const int middle = (low + high) / 2;
            if (LessIgnoringCase(box_->itemText(middle), text))
                low = middle + 1;
            else
                high = middle;
        }
        keys_.insert(Key(text));
        const QString shown = box_->currentText();
        box_->insertItem(low, text, Bytes(bytes));
        box_->setEditText(shown);
    }
}

void ChoiceList::AddAll(const std::vector<std::string>& texts)
{
    if (box_->count() > 0) {
        for (const std::string& bytes : texts)
            Add(bytes);
        return;
    }
    struct Entry {
        QString text;
        QByteArray bytes;
    };
    std::vector<Entry> entries;
    // A collection repeats a few texts many times: each is decoded once.
    std::unordered_set<std::string_view> seen;
    for (const std::string& bytes : texts) {
        if (!seen.insert(bytes).second)
            continue;
        QString text = Decoded(bytes);
        if (!keys_.contains(Key(text))) {
            keys_.insert(Key(text));
            entries.push_back({std::move(text), Bytes(bytes)});
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return LessIgnoringCase(a.text, b.text); });
    const QString shown = box_->currentText();
    for (const Entry& entry : entries)
        box_->addItem(entry.text, entry.bytes);
    box_->setEditText(shown);
}
