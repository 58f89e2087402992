#include "app/window/WindowTitle.h"

#include <QDir>
#include <QFileInfo>

QString CollectionWindowTitle(const QString& caption, const QString& folder)
{
    if (folder.isEmpty())
        return caption;
    QString name = QFileInfo(QDir::cleanPath(folder)).fileName();
    if (name.isEmpty())
        name = QDir::toNativeSeparators(QDir::cleanPath(folder));
    // A title is one line, and "[*]" would be taken for the window's mark of
    // unsaved changes.
    for (QChar& character : name) {
        if (character.category() == QChar::Other_Control || character == QChar::LineSeparator
            || character == QChar::ParagraphSeparator)
            character = QChar::ReplacementCharacter;
    }
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return caption + QStringLiteral(" - ") + name;
}
