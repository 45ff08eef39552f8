// Writes a key into arbitrary settings-file bytes. The first three bytes give the lengths of
// the section, key and value that follow; the rest is the file. A write that reports success
// reads back as what was written, and every line it did not target keeps its bytes.

#include "settings/cp932.h"
#include "settings/inidocument.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    QByteArrayView input(reinterpret_cast<const char *>(data) + 3, qsizetype(size - 3));
    auto take = [&](int length) {
        const QByteArrayView part = input.first(std::min<qsizetype>(length % 32, input.size()));
        input = input.sliced(part.size());
        return Cp932::decode(part);
    };
    const QString section = take(data[0]);
    const QString key = take(data[1]);
    const QString value = take(data[2]);
    const QByteArray before = input.toByteArray();

    IniDocument document(before);
    if (!document.setValue(section, key, value))
        return document.content() == before ? 0 : (abort(), 0);

    // A file with a byte order mark holds any text; one in code page 932 what the code page
    // holds. Blanks around a value and one pair of outer quotes are not part of what is read.
    const bool unicode = before.startsWith("\xEF\xBB\xBF") || before.startsWith("\xFF\xFE");
    const QString written = unicode ? value : Cp932::decode(Cp932::encode(value));
    const bool plain
        = written.trimmed() == written && !written.startsWith(u'"') && !written.startsWith(u'\'');
    if (plain && document.value(section, key, 1 << 20) != written)
        abort();

    // Outside one stretch, which may hold one line of the old file, the bytes are the old ones.
    const QByteArray after = document.content();
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix
        && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const QByteArray replaced = before.mid(prefix, before.size() - prefix - suffix);
    if (replaced.count('\n') + replaced.count('\r') > 2)
        abort();
    return 0;
}
