#pragma once
// Backing the database file up, restoring it from a backup, and the deletions
// of a system rebuild.
//
// A backup file (.CBK) is a complete database file. It is taken through the
// engine's online backup, so it is consistent even while another process (the
// updater) has the database open, and it is written beside its final name and
// renamed into place, so a failed copy never leaves a half-written file.

#include <QDate>
#include <QString>
#include <QStringList>

class TCommand;
class TDM;

// The file type filter of both file dialogs.
QString BackupFileFilter();
// The extension of backup files, without the dot.
QString BackupFileSuffix();
// The folder backups are proposed in: AppPath() + "Bak".
QString BackupFolder();
// The proposed backup file of a day: AppPath() + "Bak/" + yyyyMMdd + ".CBK".
QString ProposedBackupFile(const QDate& day);
// A file name typed without an extension gets ".CBK"; any other is kept.
QString WithBackupExtension(const QString& file);

// True when file is a database of this system: an SQLite file that passes the
// engine's quick check and holds the seven tables.
bool IsSystemDatabase(const QString& file, QString* error = nullptr);

// Closes the connection of dm, writes a consistent copy of its database file
// to target (replacing an existing file) and opens the connection again.
// False when the copy failed; the target is then left as it was.
bool BackupDatabase(TDM& dm, const QString& target, QString* error = nullptr);

// Closes the connection of dm, replaces its database file by a copy of source
// and opens the connection again. The source must be a database of this system;
// otherwise, and on any other failure, the database file is left as it was and
// the connection is opened on it again. True only when the restored file is
// connected.
bool RestoreDatabase(TDM& dm, const QString& source, QString* error = nullptr);

// The statements of a rebuild in the order they run. An entry that begins with
// "B_" deletes basic information and runs only when that is chosen (without the
// prefix); the others delete business data and always run.
QStringList RebuildStatements();

// Runs the entries that apply through command, every one even after another has
// failed. Returns the tables whose statement failed, in order (empty when all ran).
QStringList ExecRebuildStatements(TCommand& command, const QStringList& entries, bool basic);
