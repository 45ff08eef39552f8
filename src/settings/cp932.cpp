#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr auto codecName = "Shift_JIS"; // ICU's table for it is Microsoft's code page 932

bool isAscii(QByteArrayView bytes)
{
    for (char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
}

// Characters that plain JIS mappings produce but code page 932 holds elsewhere.
char16_t counterpart(char16_t c)
{
    switch (c) {
    case 0x301C: // WAVE DASH
        return 0xFF5E;
    case 0x2016: // DOUBLE VERTICAL LINE
        return 0x2225;
    case 0x2212: // MINUS SIGN
        return 0xFF0D;
    case 0x2014: // EM DASH
        return 0x2015;
    case 0x00A2: // CENT SIGN
        return 0xFFE0;
    case 0x00A3: // POUND SIGN
        return 0xFFE1;
    case 0x00A5: // YEN SIGN
        return 0xFFE5;
    case 0x00AC: // NOT SIGN
        return 0xFFE2;
    case 0x203E: // OVERLINE
        return 0xFFE3;
    default:
        return c;
    }
}

} // namespace

namespace Cp932 {

bool isLeadByte(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

qsizetype characterBoundary(QByteArrayView bytes, qsizetype limit)
{
    if (bytes.size() <= limit)
        return bytes.size();
    qsizetype boundary = 0;
    while (boundary < limit) {
        const qsizetype width = isLeadByte(bytes[boundary]) && boundary + 1 < bytes.size() ? 2 : 1;
        if (boundary + width > limit)
            break;
        boundary += width;
    }
    return boundary;
}

QString decode(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);

    QStringDecoder decoder(codecName, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (!decoder.hasError())
        return text;

    // Decode one character at a time so that only the damaged ones are replaced.
    text.clear();
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype width = isLeadByte(bytes[i]) && i + 1 < bytes.size() ? 2 : 1;
        QStringDecoder single(codecName, QStringConverter::Flag::Stateless);
        const QString decoded = single(bytes.sliced(i, width));
        text += single.hasError() || decoded.isEmpty() ? QString(QChar::ReplacementCharacter)
                                                       : decoded;
        i += width;
    }
    return text;
}

QByteArray encode(const QString &text)
{
    QString mapped = text;
    for (QChar &c : mapped)
        c = QChar(counterpart(c.unicode()));

    QStringEncoder encoder(codecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(mapped);
    if (!encoder.hasError())
        return bytes;

    // Encode one code point at a time so that an unencodable one becomes '?' and never the
    // encoder's own substitution bytes.
    bytes.clear();
    for (qsizetype i = 0; i < mapped.size();) {
        const qsizetype width = mapped[i].isHighSurrogate() && i + 1 < mapped.size() ? 2 : 1;
        QStringEncoder single(codecName, QStringConverter::Flag::Stateless);
        const QByteArray encoded = single(QStringView(mapped).sliced(i, width));
        bytes += single.hasError() || encoded.isEmpty() ? QByteArray("?") : encoded;
        i += width;
    }
    return bytes;
}

} // namespace Cp932
