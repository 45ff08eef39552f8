#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr char16_t invalid = QChar::ReplacementCharacter;
constexpr quint16 unmappable = 0xFFFF; // no character of the code page has this code

// The code page as the system has it: on Windows its own code page 932; elsewhere ICU's table
// for "Shift_JIS", which is Microsoft's code page 932. A character for one or two bytes, or
// invalid; the bytes a character is written as, or none.
#ifdef Q_OS_WIN
class SystemCodePage
{
public:
    char16_t character(QByteArrayView bytes)
    {
        wchar_t wide[2] {};
        const int made = MultiByteToWideChar(
            932, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), wide, 2);
        return made == 1 ? char16_t(wide[0]) : invalid;
    }

    QByteArray bytes(char16_t c)
    {
        const wchar_t wide = wchar_t(c);
        char written[2] {};
        BOOL defaulted = FALSE;
        const int made = WideCharToMultiByte(
            932, WC_NO_BEST_FIT_CHARS, &wide, 1, written, 2, nullptr, &defaulted);
        return made > 0 && !defaulted ? QByteArray(written, made) : QByteArray();
    }
};
#else
class SystemCodePage
{
public:
    char16_t character(QByteArrayView bytes)
    {
        if (!m_decoder || m_decoder->hasError())
            m_decoder.emplace(codecName, QStringConverter::Flag::Stateless);
        const QString text = (*m_decoder)(bytes);
        return m_decoder->hasError() || text.size() != 1 ? invalid : text.front().unicode();
    }

    QByteArray bytes(char16_t c)
    {
        if (!m_encoder || m_encoder->hasError())
            m_encoder.emplace(codecName, QStringConverter::Flag::Stateless);
        const QByteArray written = (*m_encoder)(QStringView(&c, 1));
        return m_encoder->hasError() ? QByteArray() : written;
    }

private:
    static constexpr auto codecName = "Shift_JIS";
    std::optional<QStringDecoder> m_decoder;
    std::optional<QStringEncoder> m_encoder;
};
#endif

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

// The code page as two tables built once from the system's: every code (one byte, or lead byte
// * 256 + trail byte) to its character, and every character back to its code. ASCII maps to
// itself (ICU's table swaps three control codes), and where several codes give one character
// the encoder keeps the system's choice, so that encoding and decoding are exact inverses and
// both take time linear in the text.
struct Tables
{
    std::vector<char16_t> decode = std::vector<char16_t>(0x10000, invalid);
    std::vector<quint16> encode = std::vector<quint16>(0x10000, unmappable);

    Tables()
    {
        SystemCodePage system;
        for (int code = 0; code < 0x80; ++code)
            decode[code] = char16_t(code);
        for (int code = 0x80; code < 0x100; ++code) {
            const char byte = char(code);
            if (!Cp932::isLeadByte(byte))
                decode[code] = system.character(QByteArrayView(&byte, 1));
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            for (int trail = 0x40; trail <= 0xFC && Cp932::isLeadByte(char(lead)); ++trail) {
                const char pair[] {char(lead), char(trail)};
                decode[lead * 256 + trail] = system.character(QByteArrayView(pair, 2));
            }
        }

        for (int code = 0; code < 0x10000; ++code) {
            const char16_t c = decode[code];
            if (c == invalid || encode[c] != unmappable)
                continue;
            const QByteArray preferred = system.bytes(c);
            const int preferredCode = preferred.size() == 2
                ? quint8(preferred[0]) * 256 + quint8(preferred[1])
                : (preferred.size() == 1 ? quint8(preferred[0]) : -1);
            const bool usable = preferredCode >= 0x80 && decode[preferredCode] == c;
            encode[c] = quint16(usable ? preferredCode : code);
        }
    }
};

const Tables &tables()
{
    static const Tables built;
    return built;
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
        const qsizetype width = isLeadByte(bytes[boundary]) ? 2 : 1;
        if (boundary + width > limit)
            break;
        boundary += width;
    }
    return boundary;
}

QString decode(QByteArrayView bytes)
{
    // ASCII, the common case, needs no table: building the tables takes about 10 ms.
    if (std::all_of(bytes.begin(), bytes.end(), [](char byte) { return quint8(byte) < 0x80; }))
        return QString::fromLatin1(bytes);
    const std::vector<char16_t> &table = tables().decode;
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            text += QChar(char16_t(byte));
            ++i;
        } else if (isLeadByte(char(byte)) && i + 1 < bytes.size()) {
            text += QChar(table[byte * 256 + static_cast<unsigned char>(bytes[i + 1])]);
            i += 2;
        } else {
            text += QChar(isLeadByte(char(byte)) ? invalid : table[byte]);
            ++i;
        }
    }
    return text;
}

QByteArray encode(const QString &text)
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    const std::vector<quint16> &table = tables().encode;
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A surrogate pair is one character outside the code page; a lone surrogate is one too.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const quint16 code = c.isSurrogate() ? unmappable : table[counterpart(c.unicode())];
        if (code == unmappable)
            bytes += '?';
        else if (code >= 0x100)
            bytes += char(code >> 8), bytes += char(code & 0xFF);
        else
            bytes += char(code);
    }
    return bytes;
}

} // namespace Cp932
