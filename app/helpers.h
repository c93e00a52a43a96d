#pragma once
// Shared routines of both programs: shell starts, file copy, text helpers for
// codes, amounts and names, list lookup, tree node paths, Enter-as-Tab, and the
// one "0.00" formatter and SQL text quoting that every window uses.
//
// Byte counts and byte limits are counted in GBK, the code page the data was
// always typed in.

#include <QString>
#include <QStringList>
#include <Qt>

class QTreeWidgetItem;
class QWidget;

// The program directory: the directory of the running executable, ending in "/".
QString AppPath();
// Set once at start-up (tests point it at a temporary directory).
void SetAppPath(const QString& path);

// Starts a program or opens a document with the desktop's default application;
// the outcome is not examined.
void ShellRun(const QString& path, const QString& parameters);
// Opens a page or address in the system's web browser; the outcome is not examined.
void OpenWithBrowser(const QString& path);
// Copies a whole file over the target; throws std::runtime_error on any failure.
void CopyDataFile(const QString& source, const QString& target);

// "0" in front of text shorter than width; longer text is never cut.
QString PadZero(const QString& text, int width);
// Occurrences of searched in text, left to right without overlap; 0 for an empty searched text.
int SubStrCount(const QString& searched, const QString& text);
// The pinyin initial of a first-level GB2312 character, " " when it has none.
QString PinyinInitial(const QString& character);
// Every character of 0x80 and above replaced by its pinyin initial; ASCII kept.
QString PinyinInitials(const QString& text);
// The amount box's text without blanks; a lone "." or ".0" reads "0.0".
QString NormaliseAmountText(const QString& text);
// Position of the first entry equal to text (or beginning with it, with prefix), -1 if none.
int IndexOfText(const QStringList& list, const QString& text, bool prefix);
// "root\child\node\" for a tree node (column 0 texts), empty for none.
QString NodePath(const QTreeWidgetItem* node);
// Enter moves focus to the next control (in a multi-line edit only Ctrl+Enter).
void EnterAsTab(QWidget* active, int key, Qt::KeyboardModifiers shift);

// Length of text in GBK bytes.
int GbkLength(const QString& text);
// The longest beginning of text that fits in the given number of GBK bytes,
// never ending inside a character.
QString GbkLeft(const QString& text, int bytes);

// A value as "0.00": at least one integer digit, two decimals, no thousands
// separator, rounded half away from zero on the value's decimal form; a value
// that rounds to zero is written without a sign.
QString FormatMoney(long double value);

// User-typed text for a single-quoted SQL literal: every ' doubled, so the text
// is stored and found as typed and can never end the literal.
QString SqlEscape(const QString& text);
