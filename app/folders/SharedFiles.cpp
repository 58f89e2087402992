#include "app/folders/SharedFiles.h"

QUrl HelpPageAddress()
{
    return QUrl::fromLocalFile(SharedFilePath(QStringLiteral("help.html")));
}
