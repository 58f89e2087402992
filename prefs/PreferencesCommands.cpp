#include "prefs/PreferencesCommands.h"

#include "base/FileAccess.h"
#include "base/MessageInterface.h"
#include "prefs/Preferences.h"
#include "resources/StringTable.h"

bool LoadPreferences(const QString& path, Preferences& prefs)
{
    QByteArray raw;
    return ReadFileCreatingIfMissing(path, raw)
           && ParsePreferences(std::string_view(raw.constData(), std::size_t(raw.size())), prefs)
           && prefs.Tooltips != "no";
}

bool SavePreferences(const QString& path, const Preferences& prefs, MessageInterface& messages)
{
    if (WriteFileSafely(path, [&prefs](QIODevice& device) { return WritePreferences(device, prefs); }))
        return true;
    messages.ShowError(QString::fromUtf8(Text::SaveToFile), QString::fromUtf8(Text::ErrorWritingFileCaption));
    return false;
}
