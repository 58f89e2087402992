#include "app/Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The help page ships with the program, so that it opens without a network.
constexpr const char* kHelpPage = "share/quillmark/help.html";

} // namespace

// The installed copy lies under the program's prefix (bin/..); a build tree
// keeps its copy beside the program.
QUrl HelpPageAddress()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString installed = programDir.absoluteFilePath(QStringLiteral("../") + QLatin1String(kHelpPage));
    const QString built = programDir.absoluteFilePath(QLatin1String(kHelpPage));
    const QString page = QFileInfo::exists(installed) || !QFileInfo::exists(built) ? installed : built;
    return QUrl::fromLocalFile(QDir::cleanPath(page));
}
