#include "inidocument.h"

#include "cp932.h"

namespace {

const QByteArray lineBreak = QByteArrayLiteral("\r\n");
const QByteArray utf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray utf16Mark = QByteArrayLiteral("\xFF\xFE");

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && isBlank(bytes.front()))
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && isBlank(bytes.back()))
        bytes.chop(1);
    return bytes;
}

QString trimmed(QStringView text)
{
    auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\v'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text.toString();
}

bool isHeader(QByteArrayView trimmedLine)
{
    return trimmedLine.startsWith('[');
}

// A key line holds '=' and is not a comment or a header. The name is what stands before the
// first '=', which is never a trail byte, so searching the bytes is safe.
std::optional<qsizetype> equalsSign(QByteArrayView trimmedLine)
{
    if (trimmedLine.startsWith(';') || isHeader(trimmedLine))
        return std::nullopt;
    const qsizetype at = trimmedLine.indexOf('=');
    return at < 0 ? std::nullopt : std::optional(at);
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

bool reshapesFile(const QString &section, const QString &key, const QString &value)
{
    auto hasLineBreak = [](const QString &s) { return s.contains(u'\r') || s.contains(u'\n'); };
    const QString keyName = trimmed(key);
    return hasLineBreak(section) || section.contains(u']') || hasLineBreak(key)
        || keyName.startsWith(u';') || keyName.startsWith(u'[') || key.contains(u'=')
        || hasLineBreak(value);
}

QString fromUtf16Le(QByteArrayView bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(char16_t(quint8(bytes[2 * i]) | quint8(bytes[2 * i + 1]) << 8));
    return text;
}

QByteArray toUtf16Le(QStringView text)
{
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        bytes[2 * i] = char(text[i].unicode() & 0xFF);
        bytes[2 * i + 1] = char(text[i].unicode() >> 8);
    }
    return bytes;
}

// The largest length not above limit that does not end inside a UTF-8 sequence.
qsizetype utf8Boundary(QByteArrayView bytes, qsizetype limit)
{
    if (bytes.size() <= limit)
        return bytes.size();
    qsizetype cut = limit;
    while (cut > 0 && (quint8(bytes[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

IniDocument::IniDocument(const QByteArray &content)
    : m_original(content)
{
    if (content.startsWith(utf8Mark)) {
        m_encoding = Encoding::Utf8;
        m_start = utf8Mark.size();
        m_text = content;
    } else if (content.startsWith(utf16Mark)) {
        // Kept as UTF-8 while it is worked on. Odd bytes or lone surrogates would not come back
        // the same, so such a file is read but never written.
        m_encoding = Encoding::Utf16;
        const QByteArrayView body = QByteArrayView(content).sliced(utf16Mark.size());
        m_text = fromUtf16Le(body).toUtf8();
        m_writable = toUtf16Le(QString::fromUtf8(m_text)) == body;
    } else {
        m_text = content;
    }
}

QByteArray IniDocument::content() const
{
    if (!m_changed)
        return m_original;
    return m_encoding == Encoding::Utf16 ? utf16Mark + toUtf16Le(QString::fromUtf8(m_text))
                                         : m_text;
}

IniDocument::Line IniDocument::lineAt(qsizetype begin) const
{
    const qsizetype size = m_text.size();
    const char *data = m_text.constData();
    qsizetype stop = begin;
    while (stop < size && data[stop] != '\r' && data[stop] != '\n')
        ++stop;
    qsizetype end = stop;
    if (end < size)
        end += data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1;
    return {begin, stop - begin, end};
}

char IniDocument::firstNonBlank(qsizetype begin) const
{
    while (begin < m_text.size() && isBlank(m_text[begin]))
        ++begin;
    return begin < m_text.size() ? m_text[begin] : '\n';
}

qsizetype IniDocument::nextHeader(qsizetype from) const
{
    // Each '[' is found by a fast search; it opens a header when only blanks stand before it
    // on its line. A file without headers is thus passed over in one sweep.
    const qsizetype size = m_text.size();
    for (qsizetype at = m_text.indexOf('[', from); at >= 0; at = m_text.indexOf('[', at + 1)) {
        qsizetype begin = at;
        while (begin > from && isBlank(m_text[begin - 1]))
            --begin;
        if (begin == from || m_text[begin - 1] == '\r' || m_text[begin - 1] == '\n')
            return begin;
    }
    return size;
}

QByteArrayView IniDocument::text(const Line &line) const
{
    return QByteArrayView(m_text).sliced(line.begin, line.length);
}

QString IniDocument::decoded(QByteArrayView bytes) const
{
    return m_encoding == Encoding::Cp932 ? Cp932::decode(bytes) : QString::fromUtf8(bytes);
}

QByteArray IniDocument::encoded(const QString &text) const
{
    return m_encoding == Encoding::Cp932 ? Cp932::encode(text) : text.toUtf8();
}

std::optional<IniDocument::Section> IniDocument::findSection(const QString &name) const
{
    // A header's name is the decoded text after '[' up to the first ']' (or the end), trimmed.
    // It is decoded first because ']' may be the trail byte of a two-byte character.
    const QString wanted = trimmed(name);
    const qsizetype size = m_text.size();
    for (Line line = lineAt(nextHeader(m_start)); line.begin < size;
         line = lineAt(nextHeader(line.end))) {
        const QByteArrayView stored = trimmed(text(line));
        const QString header = decoded(stored.sliced(1));
        const qsizetype close = header.indexOf(u']');
        if (QString::compare(trimmed(QStringView(header).first(close < 0 ? header.size() : close)),
                wanted, Qt::CaseInsensitive)
            != 0)
            continue;
        return Section {line, nextHeader(line.end)};
    }
    return std::nullopt;
}

std::optional<IniDocument::Line> IniDocument::findKey(
    const Section &section, const QString &key) const
{
    const QString wanted = trimmed(key);
    for (Line line = lineAt(section.header.end); line.begin < section.end;
         line = lineAt(line.end)) {
        const char first = firstNonBlank(line.begin);
        if (first == '\r' || first == '\n' || first == ';')
            continue;
        const QByteArrayView stored = trimmed(text(line));
        const auto equals = equalsSign(stored);
        if (equals
            && QString::compare(
                   decoded(trimmed(stored.first(*equals))), wanted, Qt::CaseInsensitive)
                == 0)
            return line;
    }
    return std::nullopt;
}

std::optional<QString> IniDocument::value(
    const QString &section, const QString &key, qsizetype limit) const
{
    const auto span = findSection(section);
    const auto line = span ? findKey(*span, key) : std::nullopt;
    if (!line)
        return std::nullopt;
    const QByteArrayView stored = trimmed(text(*line));
    const QByteArrayView value = unquoted(trimmed(stored.sliced(*equalsSign(stored) + 1)));
    return decoded(
        value.first(m_encoding == Encoding::Cp932 ? Cp932::characterBoundary(value, limit)
                                                  : utf8Boundary(value, limit)));
}

bool IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    // Names are looked up without the blanks around them, so they are written without them, and
    // only when they read back as themselves.
    const QString sectionName = trimmed(section);
    const QString keyName = trimmed(key);
    if (!m_writable || reshapesFile(section, key, value)
        || decoded(encoded(sectionName)) != sectionName || decoded(encoded(keyName)) != keyName)
        return false;

    const QByteArray encodedValue = encoded(value);
    const auto span = findSection(sectionName);
    if (!span) {
        QByteArray added;
        if (m_text.size() > m_start && !m_text.endsWith('\r') && !m_text.endsWith('\n'))
            added += lineBreak;
        added += '[' + encoded(sectionName) + ']' + lineBreak;
        added += encoded(keyName) + '=' + encodedValue + lineBreak;
        m_text += added;
    } else if (const auto line = findKey(*span, keyName)) {
        // The key keeps the spelling it already has in the file.
        const QByteArrayView stored = trimmed(text(*line));
        const QByteArray replacement = trimmed(stored.first(*equalsSign(stored))).toByteArray()
            + '=' + encodedValue + lineBreak;
        m_text.replace(line->begin, line->end - line->begin, replacement);
    } else {
        Line after = span->header;
        for (Line line = lineAt(after.end); line.begin < span->end; line = lineAt(line.end)) {
            if (equalsSign(trimmed(text(line))))
                after = line;
        }
        QByteArray inserted = encoded(keyName) + '=' + encodedValue + lineBreak;
        if (after.end == after.begin + after.length)
            inserted.prepend(lineBreak);
        m_text.insert(after.end, inserted);
    }
    m_changed = true;
    return true;
}
