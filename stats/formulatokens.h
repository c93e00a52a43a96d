#pragma once
// Formula tokens: amounts and headcounts read from the database, written in a
// formula as {COUNT dept:path cat:path}, {COUNTEMP emp:path cat:path},
// {SUM_D dept:name} and {SUM_F position:name}. A formula is expanded by
// replacing every token by its value as "0.00" text, then evaluated.

#include "stats/statperiod.h"

#include <QHash>
#include <QString>
#include <vector>

class PeriodSums;
class TCalcExpress;

enum class TokenKind { Count, CountEmp, SumD, SumF };

struct TokenCodes {
    QString code1;
    QString code2;
};

// The codes of a token text (from its "{" up to, not including, its "}").
TokenCodes ReadTokenCodes(const QString& token, bool twoFields);

// Where token values come from.
class TokenValues {
public:
    virtual ~TokenValues() = default;
    virtual long double Value(TokenKind kind, const QString& token) = 0;
};

// Each token by its own statement for the period (a failed statement gives 0).
class DatabaseTokenValues final : public TokenValues {
public:
    explicit DatabaseTokenValues(const StatPeriod& period)
        : m_period(period) {}
    long double Value(TokenKind kind, const QString& token) override;

    long double GetValue0(const QString& token) const;
    long double GetValue1(const QString& token) const;
    qint64 GetValue2(const QString& token) const;
    qint64 GetValue3(const QString& token) const;

private:
    StatPeriod m_period;
};

// Token values of one run, each distinct token computed once from the
// period's grouped sums and the employees read at the start of the run.
class CachedTokenValues final : public TokenValues {
public:
    // False when the employees cannot be read.
    bool Load(const PeriodSums* sums);
    long double Value(TokenKind kind, const QString& token) override;

private:
    struct Employee {
        QString typeCode;
        QString funcCode;
        bool typeNull;
        bool funcNull;
    };
    const PeriodSums* m_sums = nullptr;
    std::vector<Employee> m_employees;
    QHash<QString, long double> m_cache;
};

// The formula with every token replaced by its value.
QString ExpandTokens(const QString& formula, TokenValues& values);

// Expands and evaluates a formula. A failure is reported as
// "计算表达式：<formula> 发生错误！\r错误原因：<cause>" and gives 0; failed tells which.
long double ExpandFormula(const QString& formula, TokenValues& values, TCalcExpress& calc,
                          bool* failed = nullptr);
