#include "workbookreader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

namespace {

// Text of a string item (<si> or <is>): every <t> inside, joined; the
// spreadsheet escape _xHHHH_ turned back into its character.
QString ReadStringItem(QXmlStreamReader& xml) {
    QString text;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == QStringLiteral("t"))
                text += xml.readElementText(); // reads past its end tag
            else
                ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString decoded;
    qsizetype from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        decoded += text.mid(from, m.capturedStart() - from);
        decoded += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        from = m.capturedEnd();
    }
    return decoded + text.mid(from);
}

} // namespace

QMap<QString, QString> SheetCells::row(int row) const {
    QMap<QString, QString> result;
    static const QRegularExpression ref(QStringLiteral("^([A-Z]+)(\\d+)$"));
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        const QRegularExpressionMatch m = ref.match(it.key());
        if (m.hasMatch() && m.captured(2).toInt() == row)
            result.insert(m.captured(1), it.value());
    }
    return result;
}

QString ZipMember(const QString& zip, const QString& member) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        return QString();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

SheetCells ReadFirstSheet(const QString& path) {
    SheetCells result;
    const QString sheet = ZipMember(path, QStringLiteral("xl/worksheets/sheet1.xml"));
    if (sheet.isEmpty()) {
        result.error = QStringLiteral("no xl/worksheets/sheet1.xml in %1").arg(path);
        return result;
    }
    QStringList shared;
    const QString strings = ZipMember(path, QStringLiteral("xl/sharedStrings.xml"));
    if (!strings.isEmpty()) {
        QXmlStreamReader xml(strings);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("si"))
                shared.append(ReadStringItem(xml));
    }
    QXmlStreamReader xml(sheet);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QStringLiteral("c"))
            continue;
        const QString ref = xml.attributes().value(QStringLiteral("r")).toString();
        const QString type = xml.attributes().value(QStringLiteral("t")).toString();
        QString text;
        while (xml.readNextStartElement()) {
            if (xml.name() == QStringLiteral("v")) {
                const QString v = xml.readElementText();
                text = type == QStringLiteral("s") ? shared.value(v.toInt()) : v;
            } else if (xml.name() == QStringLiteral("is")) {
                text = ReadStringItem(xml);
            } else {
                xml.skipCurrentElement();
            }
        }
        result.cells.insert(ref, text);
    }
    result.ok = !xml.hasError();
    if (xml.hasError())
        result.error = xml.errorString();
    return result;
}
