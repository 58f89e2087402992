#include "collection/sets/SetSizeCache.h"

#include "base/FileAccess.h"
#include "collection/sets/SetCompletion.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QStandardPaths>

SetSizeCache::SetSizeCache(QString path)
    : path_(std::move(path))
{
    QByteArray bytes;
    if (!ReadFile(path_, bytes))
        return;
    for (const QByteArray& line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        bool ok = false;
        const int size = fields.value(1).toInt(&ok);
        if (fields.size() != 3 || !ok || size <= 0)
            continue;
        sizes_.emplace(fields[0].toStdString(), SetSize{size, fields[2].toStdString()});
    }
}

QString SetSizeCache::DefaultPath()
{
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        cache = QDir::tempPath();
    return QDir(cache).filePath(QStringLiteral("quillmark/set-sizes.txt"));
}

std::optional<SetSize> SetSizeCache::Find(std::string_view game, std::string_view code) const
{
    const auto found = sizes_.find(SetId(game, code));
    if (found == sizes_.end())
        return std::nullopt;
    return found->second;
}

void SetSizeCache::Put(std::string_view game, std::string_view code, SetSize size)
{
    // A tab or line break in a name would break the line it is kept on.
    for (char& c : size.name) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    sizes_.insert_or_assign(SetId(game, code), std::move(size));
}

bool SetSizeCache::Save(QString* reason) const
{
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) {
        if (reason != nullptr)
            *reason = QStringLiteral("cannot make the folder of %1").arg(path_);
        return false;
    }
    QByteArray bytes;
    for (const auto& [id, size] : sizes_) {
        if (id.find_first_of("\t\n\r") != std::string::npos)
            continue;
        bytes += QByteArray::fromStdString(id) + '\t' + QByteArray::number(size.size) + '\t'
                 + QByteArray::fromStdString(size.name) + '\n';
    }
    return WriteFileSafely(path_, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); },
                           reason);
}
