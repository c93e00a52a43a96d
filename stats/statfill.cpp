#include "stats/statfill.h"

#include "app/dataset.h"
#include "app/helpers.h"
#include "calc/calcexpress.h"
#include "stats/formulatokens.h"
#include "stats/periodsums.h"

#include <QHash>

namespace {

const QString Zero = QStringLiteral("0.00");

QString MoneyText(long double value) {
    return value == 0 ? Zero : FormatMoney(value);
}

QString FoldAscii(const QString& text) {
    QString folded = text;
    for (QChar& c : folded) {
        if (c.unicode() >= u'A' && c.unicode() <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return folded;
}

// The codes of rows or columns, for finding those a stored code matches:
// exactly, or as SQLite's "code LIKE 'X%'" does for every X among them.
class CodeIndex {
public:
    void add(const QString& code, int index) {
        m_exact[code].push_back(index);
        if (code.contains(u'%') || code.contains(u'_'))
            m_patterns.push_back({code + u'%', index});
        else
            m_prefix[FoldAscii(code)].push_back(index);
    }

    const std::vector<int>& exact(const QString& value) const {
        static const std::vector<int> none;
        const auto it = m_exact.constFind(value);
        return it == m_exact.constEnd() ? none : it.value();
    }

    // Every index whose code the value begins with (LIKE 'code%').
    const std::vector<int>& prefixed(const QString& value) {
        const auto cached = m_cache.constFind(value);
        if (cached != m_cache.constEnd())
            return cached.value();
        std::vector<int> found;
        const QString folded = FoldAscii(value);
        for (qsizetype length = 0; length <= folded.size(); ++length) {
            const auto it = m_prefix.constFind(folded.left(length));
            if (it != m_prefix.constEnd())
                found.insert(found.end(), it->begin(), it->end());
        }
        for (const auto& [pattern, index] : m_patterns) {
            if (SqlLike(value, pattern))
                found.push_back(index);
        }
        return m_cache.insert(value, std::move(found)).value();
    }

private:
    QHash<QString, std::vector<int>> m_exact;
    QHash<QString, std::vector<int>> m_prefix;
    std::vector<std::pair<QString, int>> m_patterns;
    QHash<QString, std::vector<int>> m_cache;
};

// Writes the computed values column by column, asking progress before each.
template <class CellText>
bool WriteColumns(StatTable& table, const ColumnProgress& progress, CellText&& text) {
    for (int c = 0; c < table.dataCols(); ++c) {
        const int col = table.fixedCols + c;
        if (progress && !progress(col))
            return false;
        for (int r = 0; r < table.dataRows(); ++r)
            table.setCell(col, table.fixedRows + r, text(c, r));
    }
    return true;
}

} // namespace

bool FillBaseTable(StatTable& table, const StatPeriod& period, bool includeSub,
                   const ColumnProgress& progress) {
    PeriodSums sums;
    if (!sums.Load(period))
        return false;
    const int rows = table.dataRows(), cols = table.dataCols();
    CodeIndex rowCodes, leafCols, departmentCols;
    for (int r = 0; r < rows; ++r)
        rowCodes.add(table.rowCode(table.fixedRows + r), r);
    for (int c = 0; c < cols; ++c) {
        const QString& code = table.colCode(table.fixedCols + c);
        (table.leafColumns[size_t(c)] ? leafCols : departmentCols).add(code, c);
    }

    std::vector<double> totals(size_t(rows) * size_t(cols), 0.0);
    auto add = [&](int r, int c, double value) { totals[size_t(r) * size_t(cols) + size_t(c)] += value; };
    for (const PeriodSums::Group& g : sums.Groups()) {
        if (g.custNull)
            continue;
        if (includeSub) {
            for (int r : rowCodes.prefixed(g.cust)) {
                if (!g.empNull)
                    for (int c : leafCols.prefixed(g.emp))
                        add(r, c, g.total);
                if (!g.departNull)
                    for (int c : departmentCols.prefixed(g.depart))
                        add(r, c, g.total);
            }
        } else {
            for (int r : rowCodes.exact(g.cust)) {
                if (!g.empNull)
                    for (int c : leafCols.exact(g.emp))
                        add(r, c, g.total);
                if (!g.departNull && !g.empNull && g.emp.isEmpty())
                    for (int c : departmentCols.exact(g.depart))
                        add(r, c, g.total);
            }
        }
    }
    return WriteColumns(table, progress, [&](int c, int r) {
        return MoneyText(totals[size_t(r) * size_t(cols) + size_t(c)]);
    });
}

bool FillAllocationTable(StatTable& calc, const StatTable& base, const StatPeriod& period,
                         const ColumnProgress& progress) {
    // The positions of the employees (the first row of each code) and the formulas.
    QHash<QString, QString> positions;
    QHash<QString, QString> formulas;
    TDataSet ds;
    try {
        ds.setCommandText(QStringLiteral("Select Code,FuncCode from TEmployee Order By ID"));
        ds.open();
        // A code counts once, with its first row.
        for (int r = 0; r < ds.recordCount(); ++r) {
            const QString code = ds.valueAt(r, 0).toString();
            if (!positions.contains(code))
                positions.insert(code, ds.valueAt(r, 1).toString());
        }
        ds.close();
        ds.setCommandText(QStringLiteral("Select FuncCode,CustTypeCode,Formula from TFormula Order By ID"));
        ds.open();
        for (int r = 0; r < ds.recordCount(); ++r) {
            const QString pair = ds.valueAt(r, 0).toString() + QChar(0) + ds.valueAt(r, 1).toString();
            if (!formulas.contains(pair))
                formulas.insert(pair, ds.valueAt(r, 2).toString());
        }
    } catch (const EDatabaseError&) {
        return false;
    }
    PeriodSums sums;
    if (!sums.Load(period))
        return false;
    CachedTokenValues tokens;
    if (!tokens.Load(&sums))
        return false;

    TCalcExpress calculator;
    // A formula's value depends only on its text and the period, so a formula
    // that evaluates is computed once; a failing one is computed, and reported,
    // at every cell that uses it.
    QHash<QString, QString> evaluated;
    auto formulaValue = [&](const QString& formula) {
        const auto known = evaluated.constFind(formula);
        if (known != evaluated.constEnd())
            return known.value();
        bool failed = false;
        const QString text = MoneyText(ExpandFormula(formula, tokens, calculator, &failed));
        if (!failed)
            evaluated.insert(formula, text);
        return text;
    };
    return WriteColumns(calc, progress, [&](int c, int r) -> QString {
        const int col = calc.fixedCols + c, row = calc.fixedRows + r;
        if (col >= base.colCount || row >= base.rowCount)
            return Zero;
        const auto position = positions.constFind(base.colCode(col));
        if (position == positions.constEnd())
            return Zero;
        const QString formula = formulas.value(position.value() + QChar(0) + base.rowCode(row));
        if (formula.isEmpty())
            return Zero;
        return formulaValue(formula);
    });
}
