#include "pages/PageFiles.h"

#include "base/FileAccess.h"
#include "base/TextMode.h"

bool ReadTemplateFile(const QString& path, std::string& text)
{
    text.clear();
    QByteArray raw;
    if (!ReadFileCreatingIfMissing(path, raw))
        return false;
    text = FromTextMode(std::string_view(raw.constData(), std::size_t(raw.size())));
    return true;
}
