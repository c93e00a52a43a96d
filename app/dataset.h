#pragma once
// The thin layer between the windows and the database: a dataset that runs a
// statement and holds its rows, editing of one table's rows through it, and a
// command for statements without a result. Statements are written in the
// desktop database dialect the system has always used (date literals
// #yyyy-MM-dd#); AccessToSqlite translates them for the engine.

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <stdexcept>

class TDM;

// Every failure of the engine reaches the caller as this error.
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// Translates a statement of the desktop dialect into SQLite: date literals
// #yyyy-MM-dd# (optionally with a time) outside quoted text become text
// literals 'yyyy-MM-dd'. Quoted text and bracketed names pass unchanged.
QString AccessToSqlite(const QString& sql);

// Dates as stored: ISO text "yyyy-MM-dd HH:mm:ss".
QString DateTimeToStorage(const QDateTime& value);
QDateTime DateTimeFromStorage(const QString& text);

class TDataSet : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Insert, Edit };

    explicit TDataSet(TDM* dm = nullptr, QObject* parent = nullptr);

    void setCommandText(const QString& sql) { m_commandText = sql; }
    QString commandText() const { return m_commandText; }

    // Runs the command text and loads its rows; throws EDatabaseError.
    void open();
    void close();
    bool active() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    // Navigation over the loaded rows.
    bool eof() const { return m_row >= m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    void first() { m_row = 0; }
    void next();
    void last();
    int recordCount() const { return int(m_rows.size()); }
    int recNo() const { return m_row; }   // 0-based position of the current row
    void setRecNo(int row);

    // Fields of the result; names are matched without regard to case.
    int fieldCount() const { return int(m_fields.size()); }
    QStringList fieldNames() const { return m_fields; }
    int fieldIndex(const QString& name) const; // -1 when there is no such field

    // The current row's field as stored (invalid QVariant for NULL).
    QVariant value(int field) const;
    QVariant value(const QString& name) const;
    // The same, typed: NULL reads as empty text, 0 or 0.0 (an invalid date-time).
    QString asString(const QString& name) const;
    QString asString(int field) const;
    qint64 asInteger(const QString& name) const;
    double asFloat(const QString& name) const;
    QDateTime asDateTime(const QString& name) const;
    // Any row's field, for views that show the whole result.
    QVariant valueAt(int row, int field) const;

    // Orders the loaded rows by one field, ascending or descending.
    void sort(const QString& field, bool descending);

    // Editing of the one table the command text selects from ("Select * from T ...").
    // The table must carry an ID field; post() writes the row and throws
    // EDatabaseError when the database refuses it (the row stays in edit state).
    void append();
    void edit();
    void setValue(const QString& name, const QVariant& value);
    void post();
    void cancel();
    void deleteRow(); // deletes the current row from the table and from the result

Q_SIGNALS:
    // The loaded rows changed as a whole (open, close, sort).
    void reset();
    // One row was removed (a deletion) or written (a post).
    void rowRemoved(int row);
    void rowWritten(int row);

private:
    int requireField(const QString& name) const;
    QString tableName() const;
    void requireBrowse(const char* operation) const;

    TDM* m_dm;
    QString m_commandText;
    QStringList m_fields;
    QVector<QVector<QVariant>> m_rows;
    QVector<QVariant> m_buffer; // the row being appended or edited
    QStringList m_changed;      // fields set since append/edit
    int m_row = 0;
    State m_state = State::Inactive;
};

// Runs one statement that returns no rows; throws EDatabaseError.
class TCommand {
public:
    explicit TCommand(TDM* dm = nullptr);
    void setCommandText(const QString& sql) { m_commandText = sql; }
    QString commandText() const { return m_commandText; }
    // Returns the number of rows changed.
    int execute();

private:
    TDM* m_dm;
    QString m_commandText;
};
