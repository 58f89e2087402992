#include "app/window/ApplicationIcon.h"

#include <QIcon>

QIcon ApplicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quillmark-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/quillmark-32.png"), QSize(32, 32));
    return icon;
}
