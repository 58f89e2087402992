#pragma once

#include <QString>

#include <map>
#include <optional>
#include <string>
#include <string_view>

// A set's size as its card database tells it: how many numbers its
// numbering has, and its name there.
struct SetSize {
    int size = 0;
    std::string name;

    bool operator==(const SetSize&) const = default;
};

// The set sizes already fetched, kept in a small file of the user's cache
// so that each set is asked for once, whichever collection or command asks.
// One line a set: its SetId, its size and its name, separated by tabs.
class SetSizeCache {
public:
    // Reads the file at path; a missing or unreadable file is an empty cache.
    explicit SetSizeCache(QString path);
    // quillmark/set-sizes.txt in the user's cache folder.
    static QString DefaultPath();

    std::optional<SetSize> Find(std::string_view game, std::string_view code) const;
    void Put(std::string_view game, std::string_view code, SetSize size);
    // Writes the file safely, making its folder when needed. False, with
    // the reason, when it could not.
    bool Save(QString* reason = nullptr) const;

private:
    QString path_;
    std::map<std::string, SetSize, std::less<>> sizes_;
};
