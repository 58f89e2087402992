// Any bytes as qmk.ini: the reader must not crash, and the record it reads
// must come back unchanged from a save and a second load.
#include "prefs/Preferences.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray Saved(const Preferences& prefs)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WritePreferences(buffer, prefs))
        std::abort();
    return buffer.data();
}

bool Same(const Preferences& a, const Preferences& b)
{
    for (const PreferenceKey& known : kPreferenceKeys) {
        if (a.*known.field != b.*known.field)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Preferences loaded;
    ParsePreferences(std::string_view(reinterpret_cast<const char*>(data), size), loaded);
    const QByteArray saved = Saved(loaded);
    Preferences reloaded;
    // The writer always writes a TOOLTIPS line.
    if (!ParsePreferences(std::string_view(saved.constData(), std::size_t(saved.size())), reloaded)
        || !Same(loaded, reloaded) || Saved(reloaded) != saved)
        std::abort();
    return 0;
}
