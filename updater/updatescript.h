#pragma once
// Database update scripts: statements separated by lines that consist of the
// word "GO", run one by one on the updater's connection.

#include <QString>
#include <QStringList>

class TDM;

// A line that, without leading and trailing blanks and control characters,
// is "GO" in any case. "GO;" is no separator.
bool IsSeparatorLine(const QString& line);

// The statements of a script in file order: the lines between separator lines,
// each kept as read and followed by CR LF. Blank statements are left out.
QStringList SplitScript(const QStringList& lines);

// Runs every statement of a GBK script file on dm, in file order and without
// a transaction; a statement that fails is skipped. A file that cannot be read
// runs nothing. Returns how many statements succeeded.
int ExeASQLFile(TDM& dm, const QString& fileName);
