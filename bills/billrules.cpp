#include "bills/billrules.h"

#include "app/dataset.h"
#include "app/helpers.h"

#include <QLocale>

namespace {

// Text fields hold empty text, never NULL, when there is nothing to say: the
// statistics tell a department's own records by their empty EmpID.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

} // namespace

const QString AmountInputMask = QStringLiteral("9999999.99; ");
const QString AmountInitialText = QStringLiteral("0      .00");

QString BillRowStatement(int id) {
    return QStringLiteral("Select * from TBillDetail Where ID=") + QString::number(id);
}

QString CounterpartyListStatement() {
    return QStringLiteral("Select Distinct Provider from TBillDetail order by Provider");
}

QString AmountMaskText(double amount) {
    const QString plain = FormatMoney(amount);
    const qsizetype point = plain.indexOf(u'.');
    QString decimals = plain.mid(point + 1);
    while (decimals.endsWith(u'0'))
        decimals.chop(1);
    return plain.left(point).leftJustified(7, u' ') + u'.' + decimals.leftJustified(2, u' ');
}

double AmountFromMaskText(const QString& text) {
    return QLocale::c().toDouble(NormaliseAmountText(text));
}

QString SpaceIfEmpty(const QString& text) {
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

QString BillEntryProblem(const BillEntry& entry) {
    if (entry.custCode.isEmpty())
        return QStringLiteral("请选择费用类型！");
    if (entry.departCode.isEmpty())
        return QStringLiteral("请选择发生部门！");
    return QString();
}

void PostBillEntry(TDataSet& data, const BillEntry& entry) {
    // A newly appended row, or one whose earlier post failed, is already being edited.
    if (data.state() == TDataSet::State::Browse)
        data.edit();
    data.setValue(QStringLiteral("OcrDate"), entry.ocrDate);
    data.setValue(QStringLiteral("DepartCode"), Text(entry.departCode));
    data.setValue(QStringLiteral("EmpID"), Text(entry.empId));
    data.setValue(QStringLiteral("CustCode"), Text(entry.custCode));
    data.setValue(QStringLiteral("Total"), entry.total);
    data.setValue(QStringLiteral("Desp"), Text(entry.desp));
    data.setValue(QStringLiteral("DepartName"), Text(entry.departName));
    data.setValue(QStringLiteral("EmpName"), Text(entry.empName));
    data.setValue(QStringLiteral("CustName"), Text(entry.custName));
    data.setValue(QStringLiteral("ContractNo"), Text(entry.contractNo));
    data.setValue(QStringLiteral("Provider"), Text(entry.provider));
    data.post();
}

QString BillFilterClauses(const BillFilter& filter) {
    auto like = [](const QString& text) {
        return QStringLiteral("'%") + SqlEscape(text) + QStringLiteral("%'");
    };
    QString clauses;
    if (!filter.department.isEmpty())
        clauses += QStringLiteral(" and DepartCode in (Select TypeCode from TEmpClass where TypeName Like ") +
                   like(filter.department) + u')';
    if (!filter.employee.isEmpty())
        clauses += QStringLiteral(" and EMPID in (Select [Code] from TEmployee where UserName Like ") +
                   like(filter.employee) + u')';
    if (!filter.category.isEmpty())
        clauses += QStringLiteral(" and CustCode in (Select TypeCode from TCustClass where TypeName Like ") +
                   like(filter.category) + u')';
    if (!filter.contractNo.isEmpty())
        clauses += QStringLiteral(" and ContractNo  Like ") + like(filter.contractNo);
    if (!filter.provider.isEmpty())
        clauses += QStringLiteral(" and Provider  Like ") + like(filter.provider);
    return clauses;
}

QString BillQueryStatement(const QDate& first, const QDate& last, const QString& filter) {
    const QString start = first.toString(QStringLiteral("yyyy-MM-dd"));
    const QString end = last.addDays(1).toString(QStringLiteral("yyyy-MM-dd"));
    return QStringLiteral("Select * from TBillDetail where 1=1 ") + QStringLiteral(" and OcrDate>=#") +
           start + u'#' + QStringLiteral("and OcrDate<") + u'#' + end + u'#' + filter +
           QStringLiteral(" Order by ID Desc");
}

bool FlipBillSortDirection() {
    static bool ascending = false;
    ascending = !ascending;
    return ascending;
}
