#include "inidocument.h"

#include "cp932.h"

namespace {

const QByteArray lineBreak = QByteArrayLiteral("\r\n");

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

QStringView trimmed(QStringView text)
{
    auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\v'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
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

// The name of a header: the decoded text after '[' up to the first ']' (or the end), trimmed.
// It is decoded first because ']' may be the trail byte of a two-byte character.
QString headerName(QByteArrayView trimmedLine)
{
    const QString decoded = Cp932::decode(trimmedLine.sliced(1));
    const qsizetype close = decoded.indexOf(u']');
    return trimmed(QStringView(decoded).first(close < 0 ? decoded.size() : close)).toString();
}

bool sameName(QByteArrayView stored, const QString &wanted)
{
    return QString::compare(Cp932::decode(stored), wanted, Qt::CaseInsensitive) == 0;
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
    const QStringView keyName = trimmed(QStringView(key));
    return hasLineBreak(section) || section.contains(u']') || hasLineBreak(key)
        || keyName.startsWith(u';') || keyName.startsWith(u'[') || key.contains(u'=')
        || hasLineBreak(value);
}

} // namespace

IniDocument::IniDocument(QByteArray content)
    : m_content(std::move(content))
{
    split();
}

void IniDocument::split()
{
    m_lines.clear();
    const qsizetype size = m_content.size();
    qsizetype begin = 0;
    while (begin < size) {
        qsizetype stop = begin;
        while (stop < size && m_content[stop] != '\r' && m_content[stop] != '\n')
            ++stop;
        qsizetype end = stop;
        if (end < size)
            end += m_content[end] == '\r' && end + 1 < size && m_content[end + 1] == '\n' ? 2 : 1;
        m_lines.push_back({begin, stop - begin, end});
        begin = end;
    }
}

QByteArrayView IniDocument::text(const Line &line) const
{
    return QByteArrayView(m_content).sliced(line.begin, line.length);
}

std::optional<IniDocument::SectionSpan> IniDocument::findSection(const QString &name) const
{
    const auto count = static_cast<qsizetype>(m_lines.size());
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArrayView line = trimmed(text(m_lines[i]));
        if (!isHeader(line) || QString::compare(headerName(line), name, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype end = i + 1;
        while (end < count && !isHeader(trimmed(text(m_lines[end]))))
            ++end;
        return SectionSpan {i, end};
    }
    return std::nullopt;
}

std::optional<qsizetype> IniDocument::findKey(const SectionSpan &section, const QString &key) const
{
    for (qsizetype i = section.header + 1; i < section.end; ++i) {
        const QByteArrayView line = trimmed(text(m_lines[i]));
        const auto equals = equalsSign(line);
        if (equals && sameName(trimmed(line.first(*equals)), key))
            return i;
    }
    return std::nullopt;
}

std::optional<QByteArray> IniDocument::value(const QString &section, const QString &key) const
{
    const auto span = findSection(section);
    if (!span)
        return std::nullopt;
    const auto index = findKey(*span, key);
    if (!index)
        return std::nullopt;
    const QByteArrayView line = trimmed(text(m_lines[*index]));
    return unquoted(trimmed(line.sliced(*equalsSign(line) + 1))).toByteArray();
}

bool IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    if (reshapesFile(section, key, value))
        return false;

    const QByteArray encodedValue = Cp932::encode(value);
    const auto span = findSection(section);
    if (!span) {
        QByteArray added;
        if (!m_lines.empty() && m_lines.back().begin + m_lines.back().length == m_content.size())
            added += lineBreak;
        added += '[' + Cp932::encode(section) + ']' + lineBreak;
        added += Cp932::encode(key) + '=' + encodedValue + lineBreak;
        m_content += added;
    } else if (const auto index = findKey(*span, key)) {
        // The key keeps the spelling it already has in the file.
        const Line &line = m_lines[*index];
        const QByteArrayView stored = trimmed(text(line));
        const QByteArray replacement = trimmed(stored.first(*equalsSign(stored))).toByteArray()
            + '=' + encodedValue + lineBreak;
        m_content.replace(line.begin, line.end - line.begin, replacement);
    } else {
        qsizetype after = span->header;
        for (qsizetype i = span->header + 1; i < span->end; ++i) {
            if (equalsSign(trimmed(text(m_lines[i]))))
                after = i;
        }
        const Line &line = m_lines[after];
        QByteArray inserted = Cp932::encode(key) + '=' + encodedValue + lineBreak;
        if (line.end == line.begin + line.length)
            inserted.prepend(lineBreak);
        m_content.insert(line.end, inserted);
    }
    split();
    return true;
}
