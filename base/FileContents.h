#pragma once

#include "base/FileAccess.h"

#include <QString>

#include <cstddef>
#include <string_view>

// The whole of a file in memory, read at the speed of the system's own copy
// of it. Only a regular file is read, and it is opened so that a pipe or a
// device in its place is never waited on. Once read, the bytes may be read
// on any thread.
//
// A large file is mapped: its pages are those the system already holds for
// it, where a copy would need as much memory again, fresh from the system,
// which on a virtual machine costs several times the copy itself. Should
// another program cut the file short in place meanwhile, the bytes that went
// read as zeros instead of ending the program, and Whole() tells so; whoever
// reads them then reads the file again, copied (Way::Copied). A program
// replacing the file, as safe saves do, leaves the mapped bytes as they were.
class FileContents {
public:
    enum class Way { MappedWhenLarge, Copied };

    FileContents() = default;
    FileContents(FileContents&& other) noexcept;
    FileContents& operator=(FileContents&& other) noexcept;
    ~FileContents();

    // Reads the file at path in place of what was held. Anything but Read,
    // with the reason, when it is missing, cannot be opened or read, or is
    // not a regular file; nothing is held then.
    FileRead Read(const QString& path, QString* reason = nullptr, Way way = Way::MappedWhenLarge);

    std::string_view View() const { return {data_, size_}; }
    std::size_t size() const { return size_; }
    // Whether the bytes are all the file's still: false once the file was
    // cut short under its mapping.
    bool Whole() const;

private:
    void Clear();

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mapped_ = 0;
    // The guard of a mapped file, -1 for bytes copied.
    int guard_ = -1;
};
