#pragma once
// The rules of the expense records, apart from their windows: the statements
// of the entry dialog and the query window, the text of the amount box, how an
// entry is checked and written, and the one sort direction of the query
// windows.

#include <QDate>
#include <QDateTime>
#include <QString>

class TDataSet;

// ---- Expense entry -------------------------------------------------------

// The statement that opens the one record the dialog edits; -1 (or any ID
// without a row) matches nothing, and the dialog then appends a record.
QString BillRowStatement(int id);
// The counterparties recorded so far, for the counterparty list.
QString CounterpartyListStatement();

// The amount box: seven optional digit positions, a fixed decimal point and two
// optional digit positions; blank positions read as spaces.
extern const QString AmountInputMask;   // "9999999.99; "
extern const QString AmountInitialText; // "0      .00"
// A stored amount laid into the box's positions: its plain decimal form
// (1234.5, 12) with the integer digits from the first position and the decimals
// after the point, e.g. "1234   .5 ". Amounts from 0 to 9999999.99 fit; more
// than two decimals are rounded to two.
QString AmountMaskText(double amount);
// The amount that the box's text (blanks as spaces) stands for: the text
// without blanks ("." alone reads 0), converted with "." as decimal point.
double AmountFromMaskText(const QString& text);

// An empty contract number or counterparty is stored as a single space.
QString SpaceIfEmpty(const QString& text);

// What the entry dialog writes into one row of TBillDetail. The names are
// copies of the names shown when the record was entered.
struct BillEntry {
    QDateTime ocrDate;
    QString departCode;
    QString empId; // the employee's Code; empty for a department alone
    QString custCode;
    double total = 0;
    QString desp;
    QString departName;
    QString empName;
    QString custName;
    QString contractNo;
    QString provider;
};

// The message that stops a save ("请选择费用类型！", "请选择发生部门！");
// empty when the entry may be saved. An employee is not required.
QString BillEntryProblem(const BillEntry& entry);

// Writes the entry into the dataset's appended or current row, field by field
// in the fixed order, and posts it. Throws EDatabaseError when the database
// refuses; the row then keeps its pending changes, so a later call writes the
// record once.
void PostBillEntry(TDataSet& data, const BillEntry& entry);

// ---- Expense query -------------------------------------------------------

// The texts of the five filter boxes of the query window, as typed.
struct BillFilter {
    QString department;
    QString employee;
    QString category;
    QString contractNo;
    QString provider;
};

// One clause for each box that is not empty, in the fixed order (department,
// employee, category, contract number, counterparty); every text matches as a
// part of the names, and single quotes in it are doubled.
QString BillFilterClauses(const BillFilter& filter);

// The records from the first day at midnight up to, not including, midnight
// after the last day, with the filter clauses, newest first.
QString BillQueryStatement(const QDate& first, const QDate& last, const QString& filter);

// The one sort direction shared by every column of every query window in the
// process, false when the program starts. Each title click flips it and sorts
// ascending when it has become true.
bool FlipBillSortDirection();
