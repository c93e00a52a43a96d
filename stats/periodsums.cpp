#include "stats/periodsums.h"

#include "app/datamodule.h"
#include "app/dataset.h"

#include <sqlite3.h>

namespace {

QString ColumnText(sqlite3_stmt* statement, int column, bool& isNull) {
    isNull = sqlite3_column_type(statement, column) == SQLITE_NULL;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, column)) : QString();
}

QChar FoldAscii(QChar c) {
    return c.unicode() >= u'A' && c.unicode() <= u'Z' ? QChar(c.unicode() + 32) : c;
}

bool LikeFrom(const QString& value, qsizetype v, const QString& pattern, qsizetype p) {
    while (p < pattern.size()) {
        const QChar c = pattern[p];
        if (c == u'%') {
            while (p < pattern.size() && (pattern[p] == u'%' || pattern[p] == u'_')) {
                if (pattern[p] == u'_') {
                    if (v >= value.size())
                        return false;
                    ++v;
                }
                ++p;
            }
            if (p == pattern.size())
                return true;
            for (qsizetype start = v; start <= value.size(); ++start) {
                if (LikeFrom(value, start, pattern, p))
                    return true;
            }
            return false;
        }
        if (v >= value.size())
            return false;
        if (c != u'_' && FoldAscii(c) != FoldAscii(value[v]))
            return false;
        ++v;
        ++p;
    }
    return v == value.size();
}

} // namespace

bool SqlLike(const QString& value, const QString& pattern) {
    return LikeFrom(value, 0, pattern, 0);
}

bool PeriodSums::Load(const StatPeriod& period) {
    m_groups.clear();
    m_custEmp.clear();
    m_custDepartOnly.clear();
    m_custDepart.clear();
    sqlite3* db = DM ? DM->handle() : nullptr;
    if (!db)
        return false;
    const QByteArray sql =
        AccessToSqlite(
            QStringLiteral("Select CustCode,DepartCode,EmpID,Sum(Total) from TBillDetail where 1=1") +
            period.sqlCondition() + QStringLiteral(" Group By CustCode,DepartCode,EmpID"))
            .toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
        return false;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        Group g;
        g.cust = ColumnText(statement, 0, g.custNull);
        g.depart = ColumnText(statement, 1, g.departNull);
        g.emp = ColumnText(statement, 2, g.empNull);
        g.total = sqlite3_column_double(statement, 3);
        if (!g.custNull) {
            if (!g.empNull)
                m_custEmp[Key(g.cust, g.emp)] += g.total;
            if (!g.departNull) {
                m_custDepart[Key(g.cust, g.depart)] += g.total;
                if (!g.empNull && g.emp.isEmpty())
                    m_custDepartOnly[Key(g.cust, g.depart)] += g.total;
            }
        }
        m_groups.push_back(std::move(g));
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
}

double PeriodSums::ByCategoryAndEmployee(const QString& cust, const QString& emp) const {
    return m_custEmp.value(Key(cust, emp));
}

double PeriodSums::ByCategoryAndDepartmentOnly(const QString& cust, const QString& depart) const {
    return m_custDepartOnly.value(Key(cust, depart));
}

double PeriodSums::ByCategoryAndDepartment(const QString& cust, const QString& depart) const {
    return m_custDepart.value(Key(cust, depart));
}
