#pragma once
// The expense records of one period, read once as sums grouped by category,
// department and employee, and the sums the statistics ask of them: exact or
// prefix matches of category, department and employee codes.

#include "stats/statperiod.h"

#include <QHash>
#include <QString>
#include <vector>

class PeriodSums {
public:
    // One grouped statement over TBillDetail for the period; false when it fails.
    bool Load(const StatPeriod& period);

    struct Group {
        QString cust;
        QString depart;
        QString emp;
        bool custNull = false;
        bool departNull = false;
        bool empNull = false;
        double total = 0;
    };
    const std::vector<Group>& Groups() const { return m_groups; }

    // Sum(Total) where CustCode = cust and EmpID = emp.
    double ByCategoryAndEmployee(const QString& cust, const QString& emp) const;
    // Sum(Total) where CustCode = cust and DepartCode = depart and EmpID = ''.
    double ByCategoryAndDepartmentOnly(const QString& cust, const QString& depart) const;
    // Sum(Total) where DepartCode = depart and CustCode = cust (with or without employee).
    double ByCategoryAndDepartment(const QString& cust, const QString& depart) const;

private:
    static QString Key(const QString& a, const QString& b) { return a + QChar(0) + b; }

    std::vector<Group> m_groups;
    QHash<QString, double> m_custEmp;
    QHash<QString, double> m_custDepartOnly;
    QHash<QString, double> m_custDepart;
};

// SQLite's LIKE: '%' any text, '_' any one character, ASCII letters without
// regard to case.
bool SqlLike(const QString& value, const QString& pattern);
