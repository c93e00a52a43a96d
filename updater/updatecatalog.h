#pragma once
// The update catalog "UpdateCnt.txt": reading it, comparing versions, choosing
// the pending entries and taking an entry apart.
//
// A catalog line is a version of exactly ten bytes followed by the entry text
// "[" + section + "]" + local name + tab + remote name. Catalogs and scripts are
// GBK text; versions are compared as bytes.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Bytes of a catalog line that hold its version.
inline constexpr int CatalogVersionLength = 10;

// The lines of a text file; a line ends at CR, LF or CR LF, and a break at the
// very end starts no further line. False when the file cannot be read.
bool ReadTextLines(const QString& fileName, QList<QByteArray>& lines);
// The same lines decoded from GBK.
bool ReadGbkLines(const QString& fileName, QStringList& lines);

QString FromGbk(const QByteArray& bytes);
QByteArray ToGbk(const QString& text);

// True when version is greater than other, byte by byte without sign; a text
// that is a beginning of another is the smaller.
bool VersionNewer(const QByteArray& version, const QByteArray& other);

struct CatalogEvaluation {
    // Entry texts newer than the installed version, without duplicates, in
    // reverse catalog order: the stages walk the list from its end.
    QStringList pending;
    // The highest version of the whole catalog when it is above the installed
    // one, otherwise the installed version.
    QByteArray newVersion;
};

CatalogEvaluation EvaluateCatalog(const QList<QByteArray>& lines, const QByteArray& installed);

struct CatalogEntry {
    QString section;    // between the first character and the first "]"
    QString localName;  // after the "]" up to the first tab; empty without a tab
    QString remoteName; // after that tab; everything after the "]" without a tab
};

// Takes an entry text apart. Backslashes of the local name (a path relative to
// the program directory) become "/".
CatalogEntry SplitEntry(const QString& entryText);

// The local name of an entry whose text begins with tag ("[SQL]", "[CLIENT]",
// "[SERVER]"), compared exactly; nothing for any other entry.
std::optional<QString> TaggedName(const QString& entryText, const QString& tag);
