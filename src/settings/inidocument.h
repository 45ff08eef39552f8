#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The settings file as its raw bytes. Reading finds a value the way the classic private-profile
// functions do; writing changes only the one line it affects (or inserts one), so comments,
// unknown sections and odd line endings come back byte for byte. Names are compared after
// decoding, with the blanks around them removed.
//
// The file is in code page 932, unless it starts with a byte order mark: UTF-8 (EF BB BF) or
// UTF-16LE (FF FE). Such a file is read in that encoding and written back in it, mark and all.
// Lines are found by one pass over the bytes, so every operation is linear in the file's size.
class IniDocument
{
public:
    explicit IniDocument(const QByteArray &content = {});

    // The stored value with the blanks around it and one outer pair of matching quotes removed,
    // cut to at most limit bytes of the file's encoding without splitting a character; nothing
    // when the section or the key is missing.
    std::optional<QString> value(const QString &section, const QString &key, qsizetype limit) const;

    // Sets key in section. Refuses, leaving the document unchanged, any name or value that
    // would reshape the file (a line break, a ']' in a section, a key starting with ';' or '['),
    // a name that would not read back as itself, and any change to a UTF-16 file that would
    // not come back byte for byte.
    bool setValue(const QString &section, const QString &key, const QString &value);

    // The file's bytes, in its own encoding; exactly the bytes it was made from until a value
    // is set.
    QByteArray content() const;

private:
    enum class Encoding { Cp932, Utf8, Utf16 };

    struct Line
    {
        qsizetype begin;
        qsizetype length; // without the line ending
        qsizetype end; // after the line ending
    };

    struct Section
    {
        Line header;
        qsizetype end; // where the next header line or the text ends
    };

    Line lineAt(qsizetype begin) const;
    // The first character of the line from begin that is not a blank; a line break for none.
    char firstNonBlank(qsizetype begin) const;
    // Where the first header line at or after the line start from begins, or the text's end.
    qsizetype nextHeader(qsizetype from) const;
    QByteArrayView text(const Line &line) const;
    QString decoded(QByteArrayView bytes) const;
    QByteArray encoded(const QString &text) const;
    std::optional<Section> findSection(const QString &name) const;
    std::optional<Line> findKey(const Section &section, const QString &key) const;

    Encoding m_encoding = Encoding::Cp932;
    bool m_writable = true;
    bool m_changed = false;
    QByteArray m_original; // what content() gives while nothing has been set
    qsizetype m_start = 0; // after the byte order mark
    QByteArray m_text; // the file, a UTF-16 one converted to UTF-8
};
