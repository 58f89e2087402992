#include "pages/SampleTemplates.h"

#include "base/SharedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr const char* kTemplateFiles[] = {"CatalogueOutside.htm", "CatalogueInside.htm", "ListOutside.htm",
                                          "ListInside.htm",       "TradeOutside.htm",    "TradeInside.htm",
                                          "WantOutside.htm",      "WantInside.htm"};

bool Present(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

} // namespace

std::span<const char* const> SampleTemplateNames()
{
    return kTemplateFiles;
}

bool CopySampleTemplates(const QString& samplesFolder, const QString& dataFolder, QString& reason)
{
    const QDir samples(samplesFolder);
    const QDir data(dataFolder);
    for (const char* name : kTemplateFiles) {
        const QString target = data.filePath(QString::fromLatin1(name));
        if (Present(target))
            continue;
        QFile sample(samples.filePath(QString::fromLatin1(name)));
        // Another program (a window beside quillmark-cli) may have copied
        // it in the meantime.
        if (!sample.copy(target) && !Present(target)) {
            reason = QStringLiteral("%1: %2").arg(sample.fileName(), sample.errorString());
            return false;
        }
        // A copy keeps the installed file's read-only mode; the collector edits theirs.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}

QString SampleTemplatesFolder()
{
    return SharedFilePath(QStringLiteral("templates"));
}

bool CopyMissingSampleTemplates(const QString& dataFolder, QString& reason)
{
    return CopySampleTemplates(SampleTemplatesFolder(), dataFolder, reason);
}

bool IsBlankTemplate(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
    });
}
