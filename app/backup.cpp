#include "app/backup.h"

#include "app/datamodule.h"
#include "app/dataset.h"
#include "app/helpers.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cstdio>
#include <sqlite3.h>

namespace {

// How long a copy waits for another connection to finish its write.
constexpr int BusyTimeoutMs = 10000;

const QStringList SystemTables{QStringLiteral("TEmpClass"), QStringLiteral("TCustClass"),
                               QStringLiteral("TEmployee"), QStringLiteral("TFunc"),
                               QStringLiteral("TFormula"),  QStringLiteral("TBillDetail"),
                               QStringLiteral("TPara")};

bool Fail(QString* error, const QString& message) {
    if (error)
        *error = message;
    return false;
}

// One raw connection of the engine, closed when it goes out of scope.
class RawConnection {
public:
    RawConnection() = default;
    ~RawConnection() { sqlite3_close(m_db); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    // flags as sqlite3_open_v2 takes them.
    bool open(const QString& file, int flags, QString* error) {
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, flags, nullptr) != SQLITE_OK)
            return Fail(error, QStringLiteral("%1: %2").arg(file, errorText()));
        sqlite3_busy_timeout(m_db, BusyTimeoutMs);
        return true;
    }
    bool exec(const char* sql, QString* error) {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            return Fail(error, errorText());
        return true;
    }
    // The first column of every row of a query, as text.
    bool firstColumn(const char* sql, QStringList& values, QString* error) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            return Fail(error, errorText());
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            values.append(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE)
            return Fail(error, errorText());
        return true;
    }
    // Closes now, reporting whether everything was written.
    bool close(QString* error) {
        const int rc = sqlite3_close(m_db);
        if (rc != SQLITE_OK)
            return Fail(error, QString::fromUtf8(sqlite3_errstr(rc)));
        m_db = nullptr;
        return true;
    }
    QString errorText() const { return QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory"); }
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// A name beside target for the file written before it is renamed into place.
QString TemporaryBeside(const QString& target) {
    return QStringLiteral("%1.%2.part")
        .arg(target)
        .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
}

void RemoveTemporary(const QString& file) {
    QFile::remove(file);
    QFile::remove(file + QStringLiteral("-journal"));
}

// Writes one consistent state of the database in source into the new file copy.
// All pages are copied in one step under one read transaction of the source, so
// a writer in another connection is waited for and never copied half-way.
bool SnapshotInto(const QString& source, const QString& copy, QString* error) {
    if (!QFileInfo(source).isFile())
        return Fail(error, QStringLiteral("%1 is not a file").arg(source));
    RawConnection from;
    RawConnection to;
    if (!from.open(source, SQLITE_OPEN_READONLY, error) ||
        !to.open(copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error))
        return false;
    sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!backup)
        return Fail(error, to.errorText());
    const int stepped = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE)
        return Fail(error, QStringLiteral("%1: %2").arg(source, QString::fromUtf8(sqlite3_errstr(stepped))));
    // The copy keeps a rollback journal, so the file alone is the whole database.
    return to.exec("PRAGMA journal_mode=DELETE", error) && to.close(error);
}

// Moves file over target in one step (an existing target keeps its permissions).
bool RenameOver(const QString& file, const QString& target, QString* error) {
    if (QFileInfo::exists(target))
        QFile::setPermissions(file, QFile::permissions(target));
    if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(target).constData()) != 0)
        return Fail(error, QStringLiteral("cannot replace %1").arg(target));
    return true;
}

// Puts file in the place of the database file target while holding that
// database's exclusive lock. No other connection is then half-way through a
// write, whose journal the next opener would roll back into the new file.
bool ReplaceDatabaseFile(const QString& file, const QString& target, QString* error) {
    RawConnection guard;
    if (!guard.open(target, SQLITE_OPEN_READWRITE, error) || !guard.exec("BEGIN EXCLUSIVE", error))
        return false;
    const bool replaced = RenameOver(file, target, error);
    guard.exec("ROLLBACK", nullptr);
    return replaced;
}

// The table a rebuild statement deletes from.
QString StatementTable(const QString& statement) {
    static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+(\S+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = from.match(statement);
    return m.hasMatch() ? m.captured(1) : statement;
}

} // namespace

QString BackupFileFilter() {
    return QStringLiteral("Brimsoll资料备份文件(*.CBK)|*.CBK");
}

QString BackupFileSuffix() {
    return QStringLiteral("CBK");
}

QString BackupFolder() {
    return AppPath() + QStringLiteral("Bak");
}

QString ProposedBackupFile(const QDate& day) {
    return BackupFolder() + u'/' + day.toString(QStringLiteral("yyyyMMdd")) + u'.' + BackupFileSuffix();
}

QString WithBackupExtension(const QString& file) {
    if (!QFileInfo(file).suffix().isEmpty())
        return file;
    return file + u'.' + BackupFileSuffix();
}

bool IsSystemDatabase(const QString& file, QString* error) {
    if (!QFileInfo(file).isFile())
        return Fail(error, QStringLiteral("%1 is not a file").arg(file));
    RawConnection db;
    QStringList check;
    QStringList tables;
    if (!db.open(file, SQLITE_OPEN_READONLY, error) || !db.firstColumn("PRAGMA quick_check", check, error) ||
        !db.firstColumn("select name from sqlite_master where type = 'table'", tables, error))
        return false;
    if (check != QStringList{QStringLiteral("ok")})
        return Fail(error, QStringLiteral("%1 is damaged: %2").arg(file, check.join(u'\n')));
    for (const QString& table : SystemTables) {
        if (!tables.contains(table, Qt::CaseInsensitive))
            return Fail(error, QStringLiteral("%1 has no table %2").arg(file, table));
    }
    return true;
}

bool BackupDatabase(TDM& dm, const QString& target, QString* error) {
    const QString source = dm.DatabaseFile();
    dm.Close();
    const QString temporary = TemporaryBeside(target);
    const bool copied = SnapshotInto(source, temporary, error) && RenameOver(temporary, target, error);
    if (!copied)
        RemoveTemporary(temporary);
    dm.Reconnect();
    return copied;
}

bool RestoreDatabase(TDM& dm, const QString& source, QString* error) {
    const QString target = dm.DatabaseFile();
    dm.Close();
    const QString temporary = TemporaryBeside(target);
    const bool replaced = SnapshotInto(source, temporary, error) && IsSystemDatabase(temporary, error) &&
                          ReplaceDatabaseFile(temporary, target, error);
    if (!replaced)
        RemoveTemporary(temporary);
    if (!dm.Reconnect())
        return Fail(error, dm.LastError());
    return replaced;
}

QStringList RebuildStatements() {
    return {QStringLiteral("B_Delete from TFormula"),  QStringLiteral("B_Delete from TCustClass"),
            QStringLiteral("B_Delete from TEmployee"), QStringLiteral("B_Delete from TEmpClass"),
            QStringLiteral("B_Delete from TFunc"),     QStringLiteral("Delete from TBillDetail")};
}

QStringList ExecRebuildStatements(TCommand& command, const QStringList& entries, bool basic) {
    QStringList failed;
    for (QString statement : entries) {
        if (statement.startsWith(QStringLiteral("B_"))) {
            if (!basic)
                continue;
            statement.remove(0, 2);
        }
        command.setCommandText(statement);
        try {
            command.execute();
        } catch (const EDatabaseError&) {
            failed.append(StatementTable(statement));
        }
    }
    return failed;
}
