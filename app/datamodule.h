#pragma once
// The data module: the one connection of the program to its database file and
// two helpers that read the first column of a query.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

class TDataSet;
struct sqlite3;

class TDM {
public:
    TDM();
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Opens the database file. Fails, without creating anything, when the
    // file is missing or is not a database; another process may use the same
    // file at the same time (a busy connection waits instead of failing).
    bool Connect(const QString& dbFile);
    // Opens the file given to the last Connect again (after backup and restore).
    bool Reconnect();
    void Close();
    bool IsConnected() const;
    QString DatabaseFile() const { return m_file; }
    QString LastError() const { return m_lastError; }

    // First column of the first row as text; empty for NULL, no row or any error.
    QString GetDataBySQL(const QString& sql);
    // Adds the non-empty first-column texts of every row to items (cleared first
    // when clear is set and the query opened); errors are swallowed. Returns "".
    QString GetDataBySQLToItems(const QString& sql, QStringList& items, bool clear);

    QSqlDatabase database() const;
    // The engine's own handle, for the few places that need more than Qt Sql.
    sqlite3* handle() const;

    // The query dataset of the two helpers; it stays open on the last result.
    TDataSet& dsQuery() { return *m_dsQuery; }

private:
    QString m_connectionName;
    QString m_file;
    QString m_lastError;
    std::unique_ptr<TDataSet> m_dsQuery;
};

// The program's data module (set at start-up; tests point it at theirs).
extern TDM* DM;
