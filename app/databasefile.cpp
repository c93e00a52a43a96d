#include "app/databasefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

bool Fail(QString* error, const QString& message) {
    if (error)
        *error = message;
    return false;
}

} // namespace

bool CreateDatabaseFile(const QString& file, const QStringList& scriptFiles, QString* error) {
    if (QFileInfo::exists(file))
        return Fail(error, QStringLiteral("%1 already exists").arg(file));
    const QString temporary = file + QStringLiteral(".new");
    QFile::remove(temporary);
    QDir().mkpath(QFileInfo(file).absolutePath());

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(temporary).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return Fail(error, message);
    }
    QString failure;
    for (const QString& script : scriptFiles) {
        QFile source(script);
        if (!source.open(QIODevice::ReadOnly)) {
            failure = QStringLiteral("cannot read %1").arg(script);
            break;
        }
        char* message = nullptr;
        if (sqlite3_exec(db, source.readAll().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            failure = QStringLiteral("%1: %2").arg(script, QString::fromUtf8(message));
            sqlite3_free(message);
            break;
        }
    }
    sqlite3_close(db);
    if (failure.isEmpty() && !QFile::rename(temporary, file))
        failure = QStringLiteral("cannot create %1").arg(file);
    if (!failure.isEmpty()) {
        QFile::remove(temporary);
        return Fail(error, failure);
    }
    return true;
}
