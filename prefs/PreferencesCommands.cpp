#include "prefs/PreferencesCommands.h"

#include "base/MessageInterface.h"
#include "prefs/Preferences.h"
#include "resources/StringTable.h"

FileRead ReadPreferencesFile(const QString& path, Preferences& prefs, bool* tooltips, QString* reason)
{
    QByteArray raw;
    const FileRead read = ReadRegularFile(path, raw, reason);
    const bool tooltipsLine =
        read == FileRead::Read && ParsePreferences(std::string_view(raw.constData(), std::size_t(raw.size())), prefs);
    if (tooltips != nullptr)
        *tooltips = tooltipsLine && prefs.Tooltips != "no";
    return read;
}

bool LoadPreferences(const QString& path, Preferences& prefs, MessageInterface& messages)
{
    CreateFileIfMissing(path);
    bool tooltips = false;
    QString reason;
    if (ReadPreferencesFile(path, prefs, &tooltips, &reason) == FileRead::NotRegular)
        messages.ShowError(QString::fromUtf8(Text::PreferencesUnreadable).arg(reason), QString::fromUtf8(Text::ErrorCaption));
    return tooltips;
}

bool SavePreferences(const QString& path, const Preferences& prefs, MessageInterface& messages)
{
    if (WriteFileSafely(path, [&prefs](QIODevice& device) { return WritePreferences(device, prefs); }))
        return true;
    messages.ShowError(QString::fromUtf8(Text::SaveToFile), QString::fromUtf8(Text::ErrorWritingFileCaption));
    return false;
}
