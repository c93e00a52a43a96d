#pragma once
// The text map of a PDF written by Qt, put right for Chinese.
//
// A CJK font draws some ideographs and the radicals that look like them with
// one glyph (用 and the radical ⽤, 页 and ⻚), and the space with the glyph of
// the tab. The PDF writer records for every glyph the lowest character that
// maps to it, so a PDF in which 第 1 页 费用 was drawn reads 第\t1\t⻚ 费⽤ when
// its text is copied, searched or extracted. These functions put the
// character that was meant in the text maps.

#include <QHash>
#include <QList>

class QByteArray;
class QFont;
class QString;

// Radical or control character → the ideograph or printable ASCII character
// drawn with the same glyph, in any of the fonts given.
QHash<char16_t, char16_t> TextMapCorrections(const QList<QFont>& fonts);

// Rewrites the text maps (ToUnicode "bfrange" sections, which Qt writes
// uncompressed) of a PDF in place: every character of the corrections that a
// single glyph maps to becomes the character meant. Every entry keeps its length, so no offset in the
// file moves. Returns the number of entries changed.
int RepairPdfTextMap(QByteArray& pdf, const QHash<char16_t, char16_t>& corrections);

// The same for a PDF file; false when it cannot be read or written.
bool RepairPdfTextMapFile(const QString& path, const QHash<char16_t, char16_t>& corrections);
