// The code page 932 round trip: text decoded from any bytes encodes back to bytes that decode
// to it, wherever the bytes were valid; and any text encodes to one byte or pair per character
// (a surrogate pair being one), so that decoding gives back as many characters.

#include "settings/cp932.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString decoded = Cp932::decode(QByteArrayView(data, qsizetype(size)));
    if (!decoded.contains(QChar::ReplacementCharacter)
        && Cp932::decode(Cp932::encode(decoded)) != decoded)
        abort();

    const QString text = QString::fromUtf16(
        reinterpret_cast<const char16_t *>(data), qsizetype(size / sizeof(char16_t)));
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++characters)
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    if (Cp932::decode(Cp932::encode(text)).size() != characters)
        abort();
    return 0;
}
