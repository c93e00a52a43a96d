// The formula evaluator: its grammar with the quirks stored formulas rely on,
// extended precision, the failures and their messages, and input that must not
// bring it down.

#include "calc/calcexpress.h"

#include "tests/support/testsupport.h"

#include <QTest>
#include <cmath>
#include <numbers>

Q_DECLARE_METATYPE(long double)

namespace {

const QString kErrorInFormula = QStringLiteral("Error in formula.");
const char* const kDivisionByZero = "Floating point division by zero";
const char* const kInvalid = "Invalid floating point operation";
const char* const kOverflow = "Floating point overflow";
const char* const kSyntax = "Error in formula.";

constexpr long double kPi = std::numbers::pi_v<long double>;

bool Close(long double actual, long double expected) {
    return actual == expected ||
           std::fabs(actual - expected) <= 1e-17L * std::fmax(1.0L, std::fabs(expected));
}

QString Text(long double value) {
    return QString::asprintf("%.21Lg", value);
}

// The failure message of Evaluate, or an empty text when it returned a value.
QString Failure(const TCalcExpress& calc, const std::vector<long double>& values, long double* value) {
    try {
        *value = calc.Evaluate(values);
        return QString();
    } catch (const ECalcError& error) {
        return QString::fromUtf8(error.what());
    }
}

void AddValue(const char* formula, long double value) {
    QTest::newRow(formula) << QString::fromLatin1(formula) << QString() << value;
}

void AddFailure(const char* formula, const char* failure) {
    QTest::newRow(formula) << QString::fromLatin1(formula) << QString::fromLatin1(failure) << 0.0L;
}

void AddFailure(const char* name, const char* formula, const char* failure) {
    QTest::newRow(name) << QString::fromLatin1(formula) << QString::fromLatin1(failure) << 0.0L;
}

} // namespace

class TestCalc : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void evaluate_data();
    void evaluate();
    void assignments();
    void variables();
    void nesting_data();
    void nesting();
    void longChains_data();
    void longChains();
};

void TestCalc::evaluate_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("failure"); // "Error in formula." also means the message box
    QTest::addColumn<long double>("value");

    // Empty text and blanks only.
    AddFailure("empty", "", kSyntax);
    AddFailure("blank", " ", kSyntax);

    // Precedence and associativity.
    AddValue("2+3*4", 14);
    AddValue("(2+3)*4", 20);
    AddValue("10-4-3", 3);
    AddValue("12/3/2", 2);
    AddValue(" ( 2 + 3 ) * 4 ", 20);

    // The restricted power operator.
    AddValue("2^3^2", 64);
    AddValue("2^(3)", 8);
    AddValue("2^(-1)", 0.5L);
    AddFailure("2^-1", kSyntax);
    AddFailure("2^(1+2)", kSyntax);
    AddFailure("2^(3", kSyntax);
    AddValue("(2^(3))", 8);
    AddValue("sin(0)^2", 0);

    // Signs: a minus before a digit at the start or after "(" belongs to the literal.
    AddValue("-2^2", 4);
    AddValue("- 2^2", -4);
    AddValue("-(2)^2", -4);
    AddValue("-2*3+1", -5);
    AddValue("(-5)", -5);
    AddValue("-+5", -5);
    AddValue("+5", 5);
    AddFailure("+-5", kSyntax);
    AddFailure("2*-3", kSyntax);
    AddFailure("1--2", kSyntax);
    AddValue("2*(-3)", -6);
    AddValue("1-(-2)", 3);

    // Malformed text.
    AddFailure("2 3", kSyntax);
    AddFailure("2(3)", kSyntax);
    AddFailure("()", kSyntax);
    AddFailure("(2", kSyntax);
    AddFailure("2)", kSyntax);
    AddFailure("(2))", kSyntax);
    AddFailure("cos 0", kSyntax);
    AddFailure("cos", kSyntax);
    AddFailure("cos(0", kSyntax);
    AddFailure("line break", "2+3\n", kSyntax);
    AddFailure("tab", "2\t+3", kSyntax);
    AddFailure("1,5", kSyntax);
    AddFailure("unknown name", "x+1", kSyntax);

    // Numbers.
    AddValue("1.5", 1.5L);
    AddFailure("1.", kSyntax);
    AddFailure(".5", kSyntax);
    AddValue("1e3", 1000);
    AddValue("1E3", 1000);
    AddValue("2.5E+2", 250);
    AddFailure("1e", kSyntax);
    AddFailure("1e+", kSyntax);

    // Every function under every name.
    AddValue("COS(0)", 1);
    AddValue("tg(arctg(2))", 2);
    AddValue("ctg(arctg(2))", 0.5L);
    AddFailure("ctg(0)", kDivisionByZero);
    AddValue("abs(-2.5)", 2.5L);
    AddValue("sgn(-3)", -1);
    AddValue("sign(0)", 0);
    AddValue("sgn(2)", 1);
    AddValue("sqrt(16)", 4);
    AddValue("ln(1)", 0);
    AddFailure("ln(0)", kDivisionByZero);
    AddFailure("ln(-1)", kInvalid);
    AddValue("exp(ln(3))", 3);
    AddValue("exp(-20000)", 0);
    AddValue("arcsin(1)", kPi / 2);
    AddValue("arccos(1)", 0);
    AddValue("arccos(-1)", kPi);
    AddFailure("arcsin(2)", kInvalid);
    AddFailure("arccos(-1.5)", kInvalid);
    AddFailure("arcsin(1e3000)", kInvalid);
    AddValue("arctan(1)", kPi / 4);
    AddValue("arcctg(0)", kPi / 2);
    AddValue("sh(ln(2))", 0.75L);
    AddValue("sinh(ln(2))", 0.75L);
    AddValue("ch(ln(2))", 1.25L);
    AddValue("cosh(ln(2))", 1.25L);
    AddValue("th(ln(2))", 0.6L);
    AddValue("tanh(ln(2))", 0.6L);
    AddValue("cth(ln(2))", 5.0L / 3);
    AddValue("coth(ln(2))", 5.0L / 3);
    AddFailure("cth(0)", kDivisionByZero);
    AddFailure("sh(-12000)", kOverflow);
    AddFailure("th(12000)", kOverflow);
    AddValue("h(0)", 1);
    AddValue("heaviside(0)", 1);
    AddValue("heaviside(-1)", 0);
    AddValue("sin(9223372036854775808)", 0);
    AddValue("cos(-1e30)", 0);

    // Extended precision: 64-bit significands, in literals and in arithmetic.
    AddValue("2^63+1-2^63", 1);
    AddValue("12345678901234567890-12345678901234567889", 1);
    AddValue("1e-4940*3", 1e-4940L * 3);
    AddValue("1e-4000*1e-4000", 0);

    // Arithmetic failures; the first operand is evaluated first.
    AddFailure("5/0", kDivisionByZero);
    AddFailure("0/0", kInvalid);
    AddFailure("sqrt(-1)", kInvalid);
    AddFailure("exp(20000)", kOverflow);
    AddFailure("1e4932*10", kOverflow);
    AddFailure("1e4932+1e4932", kOverflow);
    AddFailure("1e5000", kOverflow);
    AddFailure("5/0+0/0", kDivisionByZero);
    AddFailure("0/0+5/0", kInvalid);

    // Power: integral exponents by squaring, the others through ln.
    AddValue("0^0", 1);
    AddFailure("0^(-1)", kDivisionByZero);
    AddValue("(-2)^3", -8);
    AddValue("(-2)^(-3)", -0.125L);
    AddFailure("(-8)^0.5", kInvalid);
    AddFailure("(-8)^(0.5)", kInvalid);
    AddValue("4^0.5", 2);
    AddValue("0^0.5", 0);
    AddFailure("0^(-0.5)", kDivisionByZero);
    AddValue("(-1)^2147483647", -1);
    AddFailure("(-1)^2147483648", kInvalid);
    AddFailure("2^2147483647", kOverflow);
    AddValue("0.5^2147483647", 0);
}

void TestCalc::evaluate() {
    QFETCH(QString, formula);
    QFETCH(QString, failure);
    QFETCH(long double, value);

    PromptScript prompts;
    if (failure == kErrorInFormula)
        prompts.expectMessage(kErrorInFormula);
    TCalcExpress calc;
    calc.setFormula(formula);
    prompts.verifyDone();

    long double result = 0;
    QCOMPARE(Failure(calc, std::vector<long double>(101, 0), &result), failure);
    if (failure.isEmpty())
        QVERIFY2(Close(result, value), qPrintable(Text(result) + " instead of " + Text(value)));
}

void TestCalc::assignments() {
    PromptScript prompts;
    TCalcExpress calc;
    QCOMPARE(calc.formula(), QStringLiteral("0"));
    long double result = -1;
    QCOMPARE(Failure(calc, {}, &result), QString());
    QCOMPARE(double(result), 0.0);

    // Only ASCII letters are lower-cased.
    calc.setFormula(QStringLiteral("SQRT(4)*Exp(0)"));
    QCOMPARE(calc.formula(), QStringLiteral("sqrt(4)*exp(0)"));
    QCOMPARE(Failure(calc, {}, &result), QString());
    QCOMPARE(double(result), 2.0);

    // A text that does not parse leaves nothing to evaluate, not the old tree.
    prompts.expectMessage(kErrorInFormula);
    calc.setFormula(QStringLiteral("2*Ä"));
    prompts.verifyDone();
    QCOMPARE(calc.formula(), QStringLiteral("2*Ä"));
    QCOMPARE(Failure(calc, {}, &result), kErrorInFormula);

    // However many faults the text holds, one message.
    prompts.expectMessage(kErrorInFormula);
    calc.setFormula(QStringLiteral("((1..2 +* x ,{) ("));
    prompts.verifyDone();
    QCOMPARE(Failure(calc, {}, &result), kErrorInFormula);

    calc.setFormula(QStringLiteral("3"));
    QCOMPARE(Failure(calc, {}, &result), QString());
    QCOMPARE(double(result), 3.0);
}

void TestCalc::variables() {
    PromptScript prompts;
    TCalcExpress calc;
    long double result = 0;

    prompts.expectMessage(kErrorInFormula);
    calc.setFormula(QStringLiteral("Rate^n - rate"));
    prompts.verifyDone();

    // Names are found without regard to case, the first equal entry wins, and
    // setting them parses the stored formula again.
    calc.setVariables({QStringLiteral("RATE"), QStringLiteral("N"), QStringLiteral("n")});
    QCOMPARE(calc.variables().size(), 3);
    QCOMPARE(Failure(calc, {2, 3, 10}, &result), QString());
    QCOMPARE(double(result), 6.0);

    // Fewer values than names: a failure, never a value read from elsewhere.
    QCOMPARE(Failure(calc, {2}, &result), QStringLiteral("No value for the variable N"));

    prompts.expectMessage(kErrorInFormula);
    calc.setVariables({});
    prompts.verifyDone();
    QCOMPARE(Failure(calc, {2, 3}, &result), kErrorInFormula);
}

void TestCalc::nesting_data() {
    QTest::addColumn<QString>("open");
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("parses");
    QTest::newRow("grouping at the limit") << "(" << 1000 << true;
    QTest::newRow("grouping past the limit") << "(" << 1001 << false;
    QTest::newRow("grouping 100000 deep") << "(" << 100000 << false;
    QTest::newRow("function at the limit") << "abs(" << 1000 << true;
    QTest::newRow("function 100000 deep") << "abs(" << 100000 << false;
    QTest::newRow("signed 100000 deep") << "-(" << 100000 << false;
}

// Deep nesting must end in a syntax error, not in a stack overflow.
void TestCalc::nesting() {
    QFETCH(QString, open);
    QFETCH(int, depth);
    QFETCH(bool, parses);

    PromptScript prompts;
    if (!parses)
        prompts.expectMessage(kErrorInFormula);
    TCalcExpress calc;
    calc.setFormula(open.repeated(depth) + "1" + QString(depth, u')'));
    prompts.verifyDone();
    long double result = 0;
    QCOMPARE(Failure(calc, {}, &result), parses ? QString() : kErrorInFormula);
    if (parses)
        QCOMPARE(double(result), 1.0);
}

void TestCalc::longChains_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<double>("value");
    QTest::newRow("sum") << "+1" << 1000001.0;
    QTest::newRow("power") << "^1" << 1.0;
    QTest::newRow("quotient") << "/1" << 1.0;
}

// A million operations in a row are no problem for evaluation or clean-up.
void TestCalc::longChains() {
    QFETCH(QString, link);
    QFETCH(double, value);

    PromptScript prompts;
    TCalcExpress calc;
    calc.setFormula("1" + link.repeated(1000000));
    long double result = 0;
    QCOMPARE(Failure(calc, {}, &result), QString());
    QCOMPARE(double(result), value);
}

QTEST_GUILESS_MAIN(TestCalc)
#include "tst_calc.moc"
