#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The settings file as its raw bytes, split into lines that keep their own line endings.
// Reading finds a value the way the classic private-profile functions do; writing changes only
// the one line it affects (or inserts one), so comments, unknown sections and odd line endings
// come back byte for byte. Names are compared after decoding code page 932.
class IniDocument
{
public:
    explicit IniDocument(QByteArray content = {});

    // The stored value with the blanks around it and one outer pair of matching quotes removed,
    // still in code page 932; nothing when the section or the key is missing.
    std::optional<QByteArray> value(const QString &section, const QString &key) const;

    // Sets key in section. Refuses, leaving the document unchanged, any name or value that
    // would reshape the file (a line break, a ']' in a section, a key starting with ';' or '[').
    bool setValue(const QString &section, const QString &key, const QString &value);

    const QByteArray &content() const { return m_content; }

private:
    struct Line
    {
        qsizetype begin;
        qsizetype length; // without the line ending
        qsizetype end; // after the line ending
    };

    struct SectionSpan
    {
        qsizetype header; // index of the header line
        qsizetype end; // index of the next header line, or the line count
    };

    QByteArrayView text(const Line &line) const;
    std::optional<SectionSpan> findSection(const QString &name) const;
    std::optional<qsizetype> findKey(const SectionSpan &section, const QString &key) const;
    void split();

    QByteArray m_content;
    std::vector<Line> m_lines;
};
