#include "output/pdftextmap.h"

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QRawFont>
#include <QSaveFile>
#include <QString>
#include <QVector>

namespace {

// Characters a glyph is shared by: the one a text map should name, and the
// one the PDF writer names instead.
struct Block {
    char16_t first;
    char16_t last;
};
constexpr Block Meant[] = {{0x0020, 0x007E}, {0x4E00, 0x9FFF}}; // printable ASCII, CJK Unified Ideographs
constexpr Block Named[] = {{0x0001, 0x001F}, {0x2E80, 0x2FDF}}; // control characters, CJK and Kangxi radicals

QString Characters(const Block& block) {
    QString text;
    for (char32_t c = block.first; c <= block.last; ++c)
        text.append(QChar(char16_t(c)));
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The four-digit hex token "<XXXX>" at pos, or -1.
int Token(const QByteArray& pdf, qsizetype pos) {
    if (pos + 6 > pdf.size() || pdf[pos] != '<' || pdf[pos + 5] != '>')
        return -1;
    int value = 0;
    for (int i = 1; i <= 4; ++i) {
        const int digit = HexValue(pdf[pos + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool Replace(QByteArray& pdf, qsizetype pos, const QHash<char16_t, char16_t>& corrections) {
    const int value = Token(pdf, pos);
    const auto it = value < 0 ? corrections.end() : corrections.find(char16_t(value));
    if (it == corrections.end())
        return false;
    const QByteArray hex = QByteArray::number(it.value(), 16).toUpper().rightJustified(4, '0');
    pdf.replace(pos + 1, 4, hex);
    return true;
}

} // namespace

QHash<char16_t, char16_t> TextMapCorrections(const QList<QFont>& fonts) {
    QHash<char16_t, char16_t> corrections;
    for (const QFont& font : fonts) {
        const QRawFont raw = QRawFont::fromFont(font);
        if (!raw.isValid())
            continue;
        QHash<quint32, char16_t> meant; // glyph → the first character meant that it draws
        for (const Block& block : Meant) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(Characters(block));
            for (qsizetype i = glyphs.size() - 1; i >= 0; --i)
                if (glyphs[i] != 0)
                    meant.insert(glyphs[i], char16_t(block.first + i));
        }
        for (const Block& block : Named) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(Characters(block));
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                const auto it = meant.constFind(glyphs[i]);
                if (glyphs[i] != 0 && it != meant.constEnd())
                    corrections.insert(char16_t(block.first + i), it.value());
            }
        }
    }
    return corrections;
}

int RepairPdfTextMap(QByteArray& pdf, const QHash<char16_t, char16_t>& corrections) {
    int changed = 0;
    for (qsizetype begin = pdf.indexOf("beginbfrange"); begin >= 0;
         begin = pdf.indexOf("beginbfrange", begin)) {
        const qsizetype end = pdf.indexOf("endbfrange", begin);
        if (end < 0)
            break;
        // Lines "<first> <last> [<c> <c> …]" map glyphs one by one, and
        // "<g> <g> <c>" maps one glyph; "<first> <last> <c>" with first < last
        // maps a run of glyphs to a run of characters and stays as it is.
        qsizetype line = pdf.indexOf('\n', begin) + 1;
        while (line > 0 && line < end) {
            const qsizetype next = pdf.indexOf('\n', line);
            const qsizetype stop = next < 0 || next > end ? end : next;
            const int first = Token(pdf, line);
            const int last = Token(pdf, line + 7);
            if (first >= 0 && last >= 0 && pdf[line + 6] == ' ' && pdf[line + 13] == ' ') {
                const qsizetype rest = line + 14;
                if (rest < stop && pdf[rest] == '[') {
                    for (qsizetype pos = rest + 1; pos < stop; ++pos)
                        if (pdf[pos] == '<' && Replace(pdf, pos, corrections))
                            ++changed;
                } else if (first == last && Replace(pdf, rest, corrections)) {
                    ++changed;
                }
            }
            line = stop + 1;
        }
        begin = end;
    }
    return changed;
}

bool RepairPdfTextMapFile(const QString& path, const QHash<char16_t, char16_t>& corrections) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QByteArray pdf = in.readAll();
    in.close();
    if (RepairPdfTextMap(pdf, corrections) == 0)
        return true;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(pdf) == pdf.size() && out.commit();
}
