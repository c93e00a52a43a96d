#include "updater/updatecatalog.h"

#include "app/helpers.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

bool ReadTextLines(const QString& fileName, QList<QByteArray>& lines) {
    lines.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return true;
}

bool ReadGbkLines(const QString& fileName, QStringList& lines) {
    lines.clear();
    QList<QByteArray> raw;
    if (!ReadTextLines(fileName, raw))
        return false;
    for (const QByteArray& line : raw)
        lines.append(FromGbk(line));
    return true;
}

QString FromGbk(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    return decoder(bytes);
}

QByteArray ToGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder(text);
}

bool VersionNewer(const QByteArray& version, const QByteArray& other) {
    return std::lexicographical_compare(other.begin(), other.end(), version.begin(), version.end(),
                                        [](char a, char b) { return quint8(a) < quint8(b); });
}

CatalogEvaluation EvaluateCatalog(const QList<QByteArray>& lines, const QByteArray& installed) {
    CatalogEvaluation result;
    result.newVersion = installed;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QByteArray version = lines[i].left(CatalogVersionLength);
        const QString entryText = FromGbk(lines[i].mid(CatalogVersionLength));
        if (VersionNewer(version, installed) && IndexOfText(result.pending, entryText, false) < 0)
            result.pending.append(entryText);
        if (VersionNewer(version, result.newVersion))
            result.newVersion = version;
    }
    return result;
}

CatalogEntry SplitEntry(const QString& entryText) {
    CatalogEntry entry;
    const qsizetype close = entryText.indexOf(u']');
    QString rest = entryText;
    if (close >= 0) {
        entry.section = entryText.mid(1, close - 1);
        rest = entryText.mid(close + 1);
    }
    const qsizetype tab = rest.indexOf(u'\t');
    if (tab < 0) {
        entry.remoteName = rest;
    } else {
        entry.localName = rest.left(tab);
        entry.localName.replace(u'\\', u'/');
        entry.remoteName = rest.mid(tab + 1);
    }
    return entry;
}

std::optional<QString> TaggedName(const QString& entryText, const QString& tag) {
    if (!entryText.startsWith(tag))
        return std::nullopt;
    return SplitEntry(entryText).localName;
}
