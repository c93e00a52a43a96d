#include "app/helpers.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QUrl>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace {

QString& AppPathStorage() {
    static QString path;
    return path;
}

QByteArray ToGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder(text);
}

// The first-level GB2312 characters are ordered by pinyin; each letter's
// characters lie in one contiguous range of codes.
struct InitialRange {
    char letter;
    quint16 first;
    quint16 last;
};

constexpr std::array<InitialRange, 23> InitialRanges{{
    {'A', 0xB0A1, 0xB0C4}, {'B', 0xB0C5, 0xB2C0}, {'C', 0xB2C1, 0xB4ED}, {'D', 0xB4EE, 0xB6E9},
    {'E', 0xB6EA, 0xB7A1}, {'F', 0xB7A2, 0xB8C0}, {'G', 0xB8C1, 0xB9FD}, {'H', 0xB9FE, 0xBBF6},
    {'J', 0xBBF7, 0xBFA5}, {'K', 0xBFA6, 0xC0AB}, {'L', 0xC0AC, 0xC2E7}, {'M', 0xC2E8, 0xC4C2},
    {'N', 0xC4C3, 0xC5B5}, {'O', 0xC5B6, 0xC5BD}, {'P', 0xC5BE, 0xC6D9}, {'Q', 0xC6DA, 0xC8BA},
    {'R', 0xC8BB, 0xC8F5}, {'S', 0xC8F6, 0xCBF9}, {'T', 0xCBFA, 0xCDD9}, {'W', 0xCDDA, 0xCEF3},
    {'X', 0xCEF4, 0xD188}, {'Y', 0xD189, 0xD4D0}, {'Z', 0xD4D1, 0xD7F9},
}};

QChar InitialOfCode(quint16 code) {
    for (const InitialRange& range : InitialRanges) {
        if (code >= range.first && code <= range.last)
            return QChar::fromLatin1(range.letter);
    }
    return u' ';
}

} // namespace

QString AppPath() {
    QString& path = AppPathStorage();
    if (path.isEmpty() && QCoreApplication::instance())
        path = QCoreApplication::applicationDirPath() + u'/';
    return path;
}

void SetAppPath(const QString& path) {
    AppPathStorage() = path.endsWith(u'/') || path.isEmpty() ? path : path + u'/';
}

void ShellRun(const QString& path, const QString& parameters) {
    const QFileInfo info(path);
    if (info.isFile() && info.isExecutable()) {
        const QStringList arguments = QProcess::splitCommand(parameters);
        QProcess::startDetached(info.absoluteFilePath(), arguments, info.absolutePath());
        return;
    }
    if (info.exists())
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

void OpenWithBrowser(const QString& path) {
    const QUrl url = QFileInfo::exists(path) ? QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())
                                             : QUrl::fromUserInput(path);
    QDesktopServices::openUrl(url);
}

void CopyDataFile(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("cannot read %1: %2").arg(source, in.errorString()).toStdString());
    // Written beside the target and renamed into place, so a copy that fails
    // half-way never leaves the target half-written.
    const QString temporary = target + QStringLiteral(".part");
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(
            QStringLiteral("cannot write %1: %2").arg(target, out.errorString()).toStdString());
    QByteArray block;
    bool ok = true;
    while (ok && !in.atEnd()) {
        block = in.read(1 << 20);
        ok = !block.isEmpty() || in.atEnd();
        ok = ok && out.write(block) == block.size();
    }
    ok = ok && out.flush();
    out.close();
    // rename() replaces the target in one step: it is never missing or half-written.
    if (!ok || std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temporary);
        throw std::runtime_error(QStringLiteral("cannot copy %1 to %2").arg(source, target).toStdString());
    }
}

QString PadZero(const QString& text, int width) {
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), u'0') + text;
}

int SubStrCount(const QString& searched, const QString& text) {
    if (searched.isEmpty())
        return 0;
    int count = 0;
    qsizetype from = 0;
    while ((from = text.indexOf(searched, from)) >= 0) {
        ++count;
        from += searched.size();
    }
    return count;
}

QString PinyinInitial(const QString& character) {
    const QByteArray bytes = ToGbk(character);
    if (bytes.size() < 2)
        return QStringLiteral(" ");
    const quint16 code = quint16(quint8(bytes[0]) << 8 | quint8(bytes[1]));
    return QString(InitialOfCode(code));
}

QString PinyinInitials(const QString& text) {
    const QByteArray bytes = ToGbk(text);
    QString result;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 byte = quint8(bytes[i]);
        if (byte < 0x80) {
            result += QChar::fromLatin1(char(byte));
        } else {
            const quint8 second = i + 1 < bytes.size() ? quint8(bytes[i + 1]) : 0;
            result += InitialOfCode(quint16(byte << 8 | second));
            ++i;
        }
    }
    return result;
}

QString NormaliseAmountText(const QString& text) {
    QString result = text;
    result.remove(u' ');
    if (result == QStringLiteral(".") || result == QStringLiteral(".0"))
        return QStringLiteral("0.0");
    return result;
}

int IndexOfText(const QStringList& list, const QString& text, bool prefix) {
    if (prefix && text.isEmpty())
        return -1;
    for (int i = 0; i < list.size(); ++i) {
        if (prefix ? list[i].startsWith(text) : list[i] == text)
            return i;
    }
    return -1;
}

int GbkLength(const QString& text) { return int(ToGbk(text).size()); }

QString GbkLeft(const QString& text, int bytes) {
    if (bytes <= 0)
        return QString();
    QStringEncoder encoder("GBK");
    int used = 0;
    qsizetype end = 0;
    // Walk whole characters (surrogate pairs together) until the next would not fit.
    while (end < text.size()) {
        const qsizetype length = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int size = int(QByteArray(encoder(QStringView(text).mid(end, length))).size());
        if (used + size > bytes)
            break;
        used += size;
        end += length;
    }
    return text.left(end);
}

QString SqlEscape(const QString& text) {
    QString result = text;
    result.replace(u'\'', QStringLiteral("''"));
    return result;
}
