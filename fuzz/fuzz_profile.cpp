// Parses arbitrary text as a stored profile value and as a share string: the levels always
// come out as 43 upper-case digits, and a profile written and parsed again keeps its canonical
// levels and its one-line name.

#include "engine/profile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(QByteArrayView(data, qsizetype(size)));
    const AppearanceProfile profile = ProfileFromValue(text);
    const LevelString levels = CanonicalLevels(text);
    static const QString digits = QStringLiteral("0123456789ABCDEF");
    if (levels.size() != NumberCount
        || !std::all_of(levels.begin(), levels.end(), [](QChar c) { return digits.contains(c); }))
        abort();

    const QString stored = ProfileValue(profile);
    const AppearanceProfile again = ProfileFromValue(stored.sliced(1, stored.size() - 2));
    if (again.levels != CanonicalLevels(profile.levels) || again.name != OneLineName(profile.name)
        || stored.contains(u'\r') || stored.contains(u'\n') || LeadingDecimal(text) < 0)
        abort();
    return 0;
}
