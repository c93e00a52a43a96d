#include "app/datamodule.h"

#include "app/dataset.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <atomic>
#include <sqlite3.h>

TDM* DM = nullptr;

namespace {
std::atomic<int> connectionCounter{0};
constexpr int BusyTimeoutMs = 10000;
} // namespace

TDM::TDM()
    : m_connectionName(QStringLiteral("brimsoll-%1").arg(++connectionCounter))
    , m_dsQuery(std::make_unique<TDataSet>(this)) {
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
}

TDM::~TDM() {
    m_dsQuery.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    if (DM == this)
        DM = nullptr;
}

bool TDM::Connect(const QString& dbFile) {
    Close();
    m_file = dbFile;
    m_lastError.clear();
    const QFileInfo info(dbFile);
    if (!info.isFile()) {
        m_lastError = QStringLiteral("database file not found: %1").arg(dbFile);
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    // mode=rw: open an existing file only, never create one.
    QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open()) {
        m_lastError = db.lastError().text();
        return false;
    }
    // A file that is not a database opens but fails at the first read.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
        m_lastError = probe.lastError().text();
        probe.finish();
        db.close();
        return false;
    }
    return true;
}

bool TDM::Reconnect() { return !m_file.isEmpty() && Connect(m_file); }

void TDM::Close() {
    m_dsQuery->close();
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen())
        db.close();
}

bool TDM::IsConnected() const { return QSqlDatabase::database(m_connectionName, false).isOpen(); }

QSqlDatabase TDM::database() const { return QSqlDatabase::database(m_connectionName, false); }

sqlite3* TDM::handle() const {
    const QVariant v = database().driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.data());
}

QString TDM::GetDataBySQL(const QString& sql) {
    QString result;
    try {
        m_dsQuery->close();
        m_dsQuery->setCommandText(sql);
        m_dsQuery->open();
        if (!m_dsQuery->eof())
            result = m_dsQuery->asString(0);
    } catch (const EDatabaseError&) {
        result.clear();
    }
    return result;
}

QString TDM::GetDataBySQLToItems(const QString& sql, QStringList& items, bool clear) {
    try {
        m_dsQuery->close();
        m_dsQuery->setCommandText(sql);
        m_dsQuery->open();
        if (clear)
            items.clear();
        while (!m_dsQuery->eof()) {
            const QString text = m_dsQuery->asString(0);
            if (!text.isEmpty())
                items.append(text);
            m_dsQuery->next();
        }
    } catch (const EDatabaseError&) {
    }
    return QString();
}
