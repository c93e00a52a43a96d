#pragma once
// The expression evaluator of the allocation formulas: arithmetic text with
// numbers, named variables, + - * /, a restricted power operator "^",
// parentheses, a unary sign at the start of an expression or after "(" and
// eighteen one-argument functions. Assigning a formula parses it once; Evaluate
// computes it in extended precision (long double) as often as needed.

#include <QObject>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

// One operation of a parsed formula (calcexpress.cpp).
struct CalcStep;

// A failed evaluation; what() is the message shown to the user.
class ECalcError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TCalcExpress : public QObject {
    Q_OBJECT

public:
    explicit TCalcExpress(QObject* owner = nullptr);
    ~TCalcExpress() override;

    // Parses the text; never throws. A text that does not parse shows
    // "Error in formula." once and leaves nothing to evaluate.
    void setFormula(const QString& formula);
    // The last text assigned, with the ASCII letters lower-cased.
    QString formula() const { return m_formula; }

    // The variable names; the n-th name takes the n-th value given to Evaluate.
    // Setting them parses the stored formula again against the new names.
    void setVariables(const QStringList& names);
    QStringList variables() const { return m_variables; }

    // The value of the last parsed formula; throws ECalcError on an arithmetic
    // fault, when the last assignment did not parse, and when a variable has no value.
    long double Evaluate(const std::vector<long double>& values) const;

private:
    QString m_formula;
    QStringList m_variables;
    // The parsed formula in postfix order, so that evaluating it needs no
    // recursion however long the formula is; empty when the last assignment
    // did not parse.
    std::vector<CalcStep> m_program;
};
