#include "stats/formulatokens.h"

#include "app/dataset.h"
#include "app/helpers.h"
#include "app/prompts.h"
#include "calc/calcexpress.h"
#include "stats/periodsums.h"

namespace {

struct Keyword {
    QStringView text;
    TokenKind kind;
};

// In this order: "{COUNTEMP " must be tried before "{COUNT ".
constexpr Keyword Keywords[] = {
    {u"{COUNTEMP ", TokenKind::CountEmp},
    {u"{COUNT ", TokenKind::Count},
    {u"{SUM_D ", TokenKind::SumD},
    {u"{SUM_F ", TokenKind::SumF},
};

// The first field of the first row; an invalid QVariant for none, NULL or failure.
QVariant FirstValue(const QString& sql) {
    TDataSet dstemp;
    dstemp.setCommandText(sql);
    try {
        dstemp.open();
        return dstemp.eof() ? QVariant() : dstemp.value(0);
    } catch (const EDatabaseError&) {
        return QVariant();
    }
}

} // namespace

TokenCodes ReadTokenCodes(const QString& token, bool twoFields) {
    TokenCodes codes;
    QString s = token;
    s.remove(0, s.indexOf(u' ') + 1);
    codes.code1 = s.left(std::max<qsizetype>(s.indexOf(u':'), 0));
    if (twoFields) {
        s.remove(0, s.indexOf(u' ') + 1);
        codes.code2 = s.left(std::max<qsizetype>(s.indexOf(u':'), 0));
    }
    return codes;
}

long double DatabaseTokenValues::Value(TokenKind kind, const QString& token) {
    switch (kind) {
    case TokenKind::Count:
        return GetValue0(token);
    case TokenKind::CountEmp:
        return GetValue1(token);
    case TokenKind::SumD:
        return GetValue2(token);
    case TokenKind::SumF:
        return GetValue3(token);
    }
    return 0;
}

long double DatabaseTokenValues::GetValue0(const QString& token) const {
    const TokenCodes codes = ReadTokenCodes(token, true);
    return FirstValue(QStringLiteral("Select Sum(Total) from TBillDetail Where DepartCode='") + codes.code1 +
                      QStringLiteral("' And CustCode='") + codes.code2 + u'\'' + m_period.sqlCondition())
        .toDouble();
}

long double DatabaseTokenValues::GetValue1(const QString& token) const {
    const TokenCodes codes = ReadTokenCodes(token, true);
    return FirstValue(QStringLiteral("Select Sum(Total) from TBillDetail Where EMPID='") + codes.code1 +
                      QStringLiteral("' And CustCode='") + codes.code2 + u'\'' + m_period.sqlCondition())
        .toDouble();
}

qint64 DatabaseTokenValues::GetValue2(const QString& token) const {
    const TokenCodes codes = ReadTokenCodes(token, false);
    return FirstValue(QStringLiteral("Select Count(*) from TEmployee Where TypeCode like '") + codes.code1 +
                      QStringLiteral("%'"))
        .toLongLong();
}

qint64 DatabaseTokenValues::GetValue3(const QString& token) const {
    const TokenCodes codes = ReadTokenCodes(token, false);
    return FirstValue(QStringLiteral("Select Count(*) from TEmployee Where FuncCode='") + codes.code1 + u'\'')
        .toLongLong();
}

bool CachedTokenValues::Load(const PeriodSums* sums) {
    m_sums = sums;
    m_cache.clear();
    m_employees.clear();
    TDataSet ds;
    ds.setCommandText(QStringLiteral("Select TypeCode,FuncCode from TEmployee"));
    try {
        ds.open();
    } catch (const EDatabaseError&) {
        return false;
    }
    m_employees.reserve(size_t(ds.recordCount()));
    for (int r = 0; r < ds.recordCount(); ++r) {
        const QVariant type = ds.valueAt(r, 0), func = ds.valueAt(r, 1);
        m_employees.push_back({type.toString(), func.toString(), !type.isValid(), !func.isValid()});
    }
    return true;
}

long double CachedTokenValues::Value(TokenKind kind, const QString& token) {
    const QString key = QString::number(int(kind)) + token;
    const auto cached = m_cache.constFind(key);
    if (cached != m_cache.constEnd())
        return cached.value();
    long double value = 0;
    switch (kind) {
    case TokenKind::Count: {
        const TokenCodes codes = ReadTokenCodes(token, true);
        value = m_sums->ByCategoryAndDepartment(codes.code2, codes.code1);
        break;
    }
    case TokenKind::CountEmp: {
        const TokenCodes codes = ReadTokenCodes(token, true);
        value = m_sums->ByCategoryAndEmployee(codes.code2, codes.code1);
        break;
    }
    case TokenKind::SumD: {
        const QString pattern = ReadTokenCodes(token, false).code1 + u'%';
        qint64 count = 0;
        for (const Employee& e : m_employees)
            count += !e.typeNull && SqlLike(e.typeCode, pattern);
        value = count;
        break;
    }
    case TokenKind::SumF: {
        const QString code = ReadTokenCodes(token, false).code1;
        qint64 count = 0;
        for (const Employee& e : m_employees)
            count += !e.funcNull && e.funcCode == code;
        value = count;
        break;
    }
    }
    m_cache.insert(key, value);
    return value;
}

QString ExpandTokens(const QString& formula, TokenValues& values) {
    QString rest = formula;
    QString out;
    for (;;) {
        const qsizetype p = rest.indexOf(u'{');
        if (p < 0)
            break;
        const Keyword* keyword = nullptr;
        for (const Keyword& k : Keywords) {
            if (rest.indexOf(k.text) == p) {
                keyword = &k;
                break;
            }
        }
        const qsizetype e = rest.indexOf(u'}');
        // A "{" that starts no keyword, or a keyword with no "}" after it: the
        // rest is plain text for the evaluator to judge.
        if (!keyword || e < 0)
            break;
        out += QStringView(rest).left(p);
        const QString token = e > p ? rest.mid(p, e - p) : QString();
        out += FormatMoney(values.Value(keyword->kind, token));
        rest.remove(0, e + 1);
    }
    return out + rest;
}

long double ExpandFormula(const QString& formula, TokenValues& values, TCalcExpress& calc, bool* failed) {
    if (failed)
        *failed = false;
    try {
        calc.setFormula(ExpandTokens(formula, values));
        return calc.Evaluate(std::vector<long double>(101, 0.0L));
    } catch (const ECalcError& error) {
        if (failed)
            *failed = true;
        ShowMessage(QStringLiteral("计算表达式：") + formula + QStringLiteral(" 发生错误！") + u'\r' +
                    QStringLiteral("错误原因：") + QString::fromUtf8(error.what()));
        return 0;
    }
}
