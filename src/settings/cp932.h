#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The settings file is stored in code page 932 (Microsoft's Shift-JIS), so that files written
// by earlier copies of the program keep reading the same. These helpers are the only place
// that converts between that encoding and the program's own text.
namespace Cp932 {

// True for the first byte of a two-byte character.
bool isLeadByte(char byte);

// Decodes bytes; a byte sequence that is not valid code page 932 becomes U+FFFD.
QString decode(QByteArrayView bytes);

// Encodes text. A character the code page cannot hold is replaced by its code page 932
// counterpart where one exists (WAVE DASH by FULLWIDTH TILDE, and so on), otherwise by '?'.
QByteArray encode(const QString &text);

// The largest length not above limit that does not split a two-byte character.
qsizetype characterBoundary(QByteArrayView bytes, qsizetype limit);

} // namespace Cp932
