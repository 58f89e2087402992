#include "prefs/Preferences.h"

#include "base/LineSyntax.h"
#include "base/TextMode.h"

#include <QIODevice>

bool ParsePreferences(std::string_view raw, Preferences& prefs)
{
    prefs.Encoding = EncodingOfFile(raw);
    bool sawTooltips = false;
    ForEachKeyValue(raw, [&](std::string_view key, std::string_view value) {
        for (const PreferenceKey& known : kPreferenceKeys) {
            if (known.key == key) {
                (prefs.*known.field).assign(value);
                sawTooltips = sawTooltips || known.field == &Preferences::Tooltips;
            }
        }
    });
    return sawTooltips;
}

bool WritePreferences(QIODevice& device, const Preferences& prefs)
{
    std::string text(kHeaderLine);
    for (const PreferenceKey& known : kPreferenceKeys) {
        text += '\n';
        text += known.key;
        text += '=';
        text += prefs.*known.field;
    }
    text += "\n\n";
    QByteArray bytes;
    AppendTextMode(bytes, text);
    return device.write(bytes) == bytes.size();
}
