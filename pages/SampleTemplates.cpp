#include "pages/SampleTemplates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr const char* kTemplateFiles[] = {"CatalogueOutside.htm", "CatalogueInside.htm", "ListOutside.htm",
                                          "ListInside.htm"};

} // namespace

bool CopySampleTemplates(const QString& samplesFolder, const QString& dataFolder, QString& reason)
{
    const QDir samples(samplesFolder);
    const QDir data(dataFolder);
    for (const char* name : kTemplateFiles) {
        const QString target = data.filePath(QString::fromLatin1(name));
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        QFile sample(samples.filePath(QString::fromLatin1(name)));
        if (!sample.copy(target)) {
            reason = QStringLiteral("%1: %2").arg(sample.fileName(), sample.errorString());
            return false;
        }
        // A copy keeps the installed file's read-only mode; the collector edits theirs.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}
