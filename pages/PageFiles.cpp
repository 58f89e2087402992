#include "pages/PageFiles.h"

#include "collection/TextFile.h"

#include <QFile>

bool ReadTemplateFile(const QString& path, std::string& text)
{
    text.clear();
    QFile file(path);
    if (!file.exists()) {
        QFile created(path);
        if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            created.close();
    }
    QByteArray raw;
    if (!file.open(QIODevice::ReadOnly) || !ReadAll(file, raw))
        return false;
    text = FromTextMode(std::string_view(raw.constData(), std::size_t(raw.size())));
    return true;
}
