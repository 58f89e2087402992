#include "support/TempFolder.h"

#include "support/FileBytes.h"

#include <QDir>
#include <QFile>

TempFolder::TempFolder()
    : previous_(QDir::currentPath())
{
    QDir::setCurrent(dir_.path());
}

TempFolder::~TempFolder()
{
    QDir::setCurrent(previous_);
}

QString TempFolder::Path(const QString& name) const
{
    return dir_.filePath(name);
}

void TempFolder::Write(const QString& name, const QByteArray& bytes) const
{
    WriteFileBytes(Path(name), bytes);
}

QByteArray TempFolder::Read(const QString& name) const
{
    return FileBytes(Path(name));
}

bool TempFolder::Exists(const QString& name) const
{
    return QFile::exists(Path(name));
}

QByteArray CollectionBytes(const QList<QList<QByteArray>>& records)
{
    static const char* const keys[] = {"NAME", "SERIES", "CONDITION", "YEAR", "PRICE", "QUANTITY", "URL", "DESCRIPTION"};
    QByteArray bytes;
    for (const QList<QByteArray>& record : records) {
        bytes += bytes.isEmpty() ? "CREATOR=QMK 1.0\r\n" : "\r\n";
        for (int field = 0; field < 8; ++field)
            bytes += QByteArray(keys[field]) + "=" + record.value(field) + "\r\n";
    }
    return bytes;
}
