#include "app/dataset.h"

#include "app/datamodule.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <memory>
#include <numeric>
#include <sqlite3.h>

EDatabaseError::EDatabaseError(const QString& message)
    : std::runtime_error(message.toStdString()) {}

namespace {

const QString StorageFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The text between two '#' when it is a date (optionally with a time of day),
// rewritten as the stored form; empty when it is no date.
QString DateLiteral(QStringView inner) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(inner.toString());
    if (!m.hasMatch())
        return QString();
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return QString();
    if (m.captured(4).isEmpty())
        return date.toString(QStringLiteral("yyyy-MM-dd"));
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!time.isValid())
        return QString();
    return QDateTime(date, time).toString(StorageFormat);
}

QSqlDatabase DatabaseOf(TDM* dm) {
    if (!dm)
        throw EDatabaseError(QStringLiteral("no data module"));
    QSqlDatabase db = dm->database();
    if (!db.isOpen())
        throw EDatabaseError(QStringLiteral("the database connection is closed"));
    return db;
}

QString EngineError(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

QVariant ToStorage(const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime)
        return DateTimeToStorage(value.toDateTime());
    if (value.typeId() == QMetaType::QDate)
        return DateTimeToStorage(value.toDate().startOfDay());
    return value;
}

} // namespace

QString AccessToSqlite(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 8);
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            // Quoted text or a bracketed name: copied as it stands. Inside quotes
            // a doubled quote is part of the text.
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == close) {
                    if (close != u']' && j + 1 < n && sql[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const qsizetype end = std::min(j + 1, n);
            out += QStringView(sql).mid(i, end - i);
            i = end;
            continue;
        }
        if (c == u'#') {
            const qsizetype close = sql.indexOf(u'#', i + 1);
            if (close > i) {
                const QString date = DateLiteral(QStringView(sql).mid(i + 1, close - i - 1));
                if (!date.isEmpty()) {
                    out += u'\'' + date + u'\'';
                    i = close + 1;
                    continue;
                }
            }
        }
        out += c;
        ++i;
    }
    return out;
}

QString DateTimeToStorage(const QDateTime& value) { return value.toString(StorageFormat); }

QDateTime DateTimeFromStorage(const QString& text) {
    QDateTime value = QDateTime::fromString(text, StorageFormat);
    if (!value.isValid())
        value = QDateTime::fromString(text, Qt::ISODate);
    if (!value.isValid()) {
        const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        if (date.isValid())
            value = date.startOfDay();
    }
    return value;
}

// ---------------------------------------------------------------------------

TDataSet::TDataSet(TDM* dm, QObject* parent)
    : QObject(parent)
    , m_dm(dm) {}

void TDataSet::open() {
    close();
    TDM* dm = m_dm ? m_dm : DM;
    DatabaseOf(dm);
    // Rows are read straight from the engine: a result of many thousand rows
    // loads in little more than the time the engine needs to produce it.
    sqlite3* db = dm->handle();
    if (!db)
        throw EDatabaseError(QStringLiteral("the database connection is closed"));
    const QByteArray sql = AccessToSqlite(m_commandText).toUtf8();
    sqlite3_stmt* prepared = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &prepared, &tail) != SQLITE_OK)
        throw EDatabaseError(EngineError(db));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(prepared, sqlite3_finalize);
    if (!statement)
        throw EDatabaseError(QStringLiteral("the command text holds no statement"));
    if (!QByteArray(tail).trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("unable to execute multiple statements at a time"));

    const int columns = sqlite3_column_count(prepared);
    QStringList fields;
    for (int c = 0; c < columns; ++c)
        fields.append(QString::fromUtf8(sqlite3_column_name(prepared, c)).remove(u'"'));
    QVector<QVector<QVariant>> rows;
    int step;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
        QVector<QVariant> row(columns);
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(prepared, c)) {
            case SQLITE_INTEGER:
                row[c] = qlonglong(sqlite3_column_int64(prepared, c));
                break;
            case SQLITE_FLOAT:
                row[c] = sqlite3_column_double(prepared, c);
                break;
            case SQLITE_NULL:
                break;
            case SQLITE_BLOB:
                row[c] = QByteArray(static_cast<const char*>(sqlite3_column_blob(prepared, c)),
                                    sqlite3_column_bytes(prepared, c));
                break;
            default: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(prepared, c));
                row[c] = QString::fromUtf8(text, sqlite3_column_bytes(prepared, c));
                break;
            }
            }
        }
        rows.append(std::move(row));
    }
    if (step != SQLITE_DONE)
        throw EDatabaseError(EngineError(db));
    m_fields = std::move(fields);
    m_rows = std::move(rows);
    m_row = 0;
    m_state = State::Browse;
    Q_EMIT reset();
}

void TDataSet::close() {
    const bool wasActive = active();
    m_fields.clear();
    m_rows.clear();
    m_buffer.clear();
    m_changed.clear();
    m_row = 0;
    m_state = State::Inactive;
    if (wasActive)
        Q_EMIT reset();
}

void TDataSet::next() {
    if (m_row < m_rows.size())
        ++m_row;
}

void TDataSet::last() { m_row = m_rows.isEmpty() ? 0 : int(m_rows.size()) - 1; }

void TDataSet::setRecNo(int row) { m_row = std::clamp(row, 0, int(m_rows.size())); }

int TDataSet::fieldIndex(const QString& name) const {
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TDataSet::requireField(const QString& name) const {
    const int index = fieldIndex(name);
    if (index < 0)
        throw EDatabaseError(QStringLiteral("no field named %1").arg(name));
    return index;
}

QVariant TDataSet::value(int field) const {
    if (field < 0 || field >= m_fields.size())
        throw EDatabaseError(QStringLiteral("no field number %1").arg(field));
    if (m_state == State::Insert || m_state == State::Edit)
        return m_buffer.value(field);
    if (eof())
        throw EDatabaseError(QStringLiteral("no current row"));
    return m_rows[m_row][field];
}

QVariant TDataSet::value(const QString& name) const { return value(requireField(name)); }

QVariant TDataSet::valueAt(int row, int field) const { return m_rows.value(row).value(field); }

QString TDataSet::asString(int field) const {
    const QVariant v = value(field);
    return v.isValid() ? v.toString() : QString();
}

QString TDataSet::asString(const QString& name) const { return asString(requireField(name)); }

qint64 TDataSet::asInteger(const QString& name) const {
    const QVariant v = value(name);
    return v.isValid() ? v.toLongLong() : 0;
}

double TDataSet::asFloat(const QString& name) const {
    const QVariant v = value(name);
    return v.isValid() ? v.toDouble() : 0.0;
}

QDateTime TDataSet::asDateTime(const QString& name) const {
    const QVariant v = value(name);
    if (!v.isValid())
        return QDateTime();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    return DateTimeFromStorage(v.toString());
}

void TDataSet::sort(const QString& name, bool descending) {
    requireBrowse("sort");
    const int field = requireField(name);
    bool numeric = true;
    for (const auto& row : m_rows) {
        const QVariant& v = row[field];
        const int type = v.typeId();
        if (v.isValid() && type != QMetaType::LongLong && type != QMetaType::Int && type != QMetaType::Double) {
            numeric = false;
            break;
        }
    }
    QVector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    // NULL sorts before every value.
    if (numeric) {
        auto key = [&](int r) {
            const QVariant& v = m_rows[r][field];
            return std::pair<bool, double>(v.isValid(), v.toDouble());
        };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return descending ? key(b) < key(a) : key(a) < key(b);
        });
    } else {
        QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
        collator.setCaseSensitivity(Qt::CaseSensitive);
        std::vector<QCollatorSortKey> keys;
        keys.reserve(m_rows.size());
        for (const auto& row : m_rows)
            keys.push_back(collator.sortKey(row[field].toString()));
        auto less = [&](int a, int b) {
            const bool va = m_rows[a][field].isValid(), vb = m_rows[b][field].isValid();
            if (va != vb)
                return !va;
            return keys[a].compare(keys[b]) < 0;
        };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return descending ? less(b, a) : less(a, b); });
    }
    QVector<QVector<QVariant>> sorted;
    sorted.reserve(m_rows.size());
    for (int r : order)
        sorted.append(std::move(m_rows[r]));
    m_rows = std::move(sorted);
    m_row = 0;
    Q_EMIT reset();
}

QString TDataSet::tableName() const {
    static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+\[?(\w+)\]?)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = from.match(m_commandText);
    if (!m.hasMatch())
        throw EDatabaseError(QStringLiteral("the statement names no table to edit"));
    return m.captured(1);
}

void TDataSet::requireBrowse(const char* operation) const {
    if (m_state != State::Browse)
        throw EDatabaseError(QStringLiteral("cannot %1: the dataset is %2")
                                 .arg(QLatin1String(operation),
                                      m_state == State::Inactive ? QStringLiteral("closed")
                                                                 : QStringLiteral("being edited")));
}

void TDataSet::append() {
    requireBrowse("append");
    m_buffer = QVector<QVariant>(m_fields.size());
    m_changed.clear();
    m_state = State::Insert;
}

void TDataSet::edit() {
    requireBrowse("edit");
    if (eof())
        throw EDatabaseError(QStringLiteral("no current row to edit"));
    m_buffer = m_rows[m_row];
    m_changed.clear();
    m_state = State::Edit;
}

void TDataSet::setValue(const QString& name, const QVariant& value) {
    if (m_state != State::Insert && m_state != State::Edit)
        throw EDatabaseError(QStringLiteral("the dataset is not being edited"));
    const int field = requireField(name);
    m_buffer[field] = ToStorage(value);
    if (!m_changed.contains(m_fields[field]))
        m_changed.append(m_fields[field]);
}

void TDataSet::post() {
    if (m_state != State::Insert && m_state != State::Edit)
        throw EDatabaseError(QStringLiteral("the dataset is not being edited"));
    TDM* dm = m_dm ? m_dm : DM;
    QSqlDatabase db = DatabaseOf(dm);
    const QString table = tableName();
    const int idField = requireField(QStringLiteral("ID"));
    QSqlQuery query(db);
    QStringList names;
    for (const QString& f : m_changed)
        names.append(u'[' + f + u']');
    if (m_state == State::Insert) {
        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("insert into [%1] default values").arg(table);
        } else {
            QStringList marks(names.size(), QStringLiteral("?"));
            sql = QStringLiteral("insert into [%1] (%2) values (%3)")
                      .arg(table, names.join(u','), marks.join(u','));
        }
        query.prepare(sql);
    } else {
        QStringList sets;
        for (const QString& n : names)
            sets.append(n + QStringLiteral("=?"));
        if (sets.isEmpty()) { // nothing changed
            m_state = State::Browse;
            m_buffer.clear();
            return;
        }
        query.prepare(QStringLiteral("update [%1] set %2 where ID=?").arg(table, sets.join(u',')));
    }
    for (const QString& f : m_changed)
        query.addBindValue(m_buffer[fieldIndex(f)]);
    if (m_state == State::Edit)
        query.addBindValue(m_rows[m_row][idField]);
    if (!query.exec())
        throw EDatabaseError(query.lastError().text());
    if (m_state == State::Insert) {
        m_buffer[idField] = query.lastInsertId();
        m_rows.append(m_buffer);
        m_row = int(m_rows.size()) - 1;
    } else {
        m_rows[m_row] = m_buffer;
    }
    m_buffer.clear();
    m_changed.clear();
    m_state = State::Browse;
    Q_EMIT rowWritten(m_row);
}

void TDataSet::cancel() {
    if (m_state == State::Insert || m_state == State::Edit) {
        m_buffer.clear();
        m_changed.clear();
        m_state = State::Browse;
    }
}

void TDataSet::deleteRow() {
    requireBrowse("delete");
    if (eof())
        throw EDatabaseError(QStringLiteral("no current row to delete"));
    TDM* dm = m_dm ? m_dm : DM;
    QSqlDatabase db = DatabaseOf(dm);
    const int idField = requireField(QStringLiteral("ID"));
    QSqlQuery query(db);
    query.prepare(QStringLiteral("delete from [%1] where ID=?").arg(tableName()));
    query.addBindValue(m_rows[m_row][idField]);
    if (!query.exec())
        throw EDatabaseError(query.lastError().text());
    const int removed = m_row;
    m_rows.remove(removed);
    if (m_row >= m_rows.size() && m_row > 0)
        m_row = int(m_rows.size()) - 1;
    Q_EMIT rowRemoved(removed);
}

// ---------------------------------------------------------------------------

TCommand::TCommand(TDM* dm)
    : m_dm(dm) {}

int TCommand::execute() {
    TDM* dm = m_dm ? m_dm : DM;
    QSqlDatabase db = DatabaseOf(dm);
    QSqlQuery query(db);
    if (!query.exec(AccessToSqlite(m_commandText)))
        throw EDatabaseError(query.lastError().text());
    return query.numRowsAffected();
}
