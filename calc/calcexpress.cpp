#include "calc/calcexpress.h"

#include "app/prompts.h"

#include <QByteArray>
#include <cmath>
#include <cstdint>
#include <locale.h>
#include <numbers>
#include <stdlib.h>

// Tokens and the operations of a parsed formula share one numbering.
struct CalcStep {
    enum Kind : int {
        End = 0,
        Open = 1,
        Close = 2,
        Plus = 3,
        Minus = 4,
        Times = 5,
        Divide = 6,
        Number = 7,
        Variable = 8,
        Negate = 9,
        Cos = 10,
        Sin = 11,
        Tg = 12,
        Ctg = 13,
        Abs = 14,
        Sgn = 15,
        Sqrt = 16,
        Ln = 17,
        Exp = 18,
        Arcsin = 19,
        Arccos = 20,
        Arctg = 21,
        Arcctg = 22,
        Sh = 23,
        Ch = 24,
        Th = 25,
        Cth = 26,
        Heaviside = 27,
        Power = 31,
    };

    Kind kind = End;
    long double number = 0; // Number: the literal's value
    int index = 0;          // Variable: its position in the name list
};

namespace {

using Kind = CalcStep::Kind;

const char* const kErrorInFormula = "Error in formula.";
const char* const kDivisionByZero = "Floating point division by zero";
const char* const kInvalidOperation = "Invalid floating point operation";
const char* const kOverflow = "Floating point overflow";

// Parentheses nested deeper than this make the formula a syntax error, so that
// no text can exhaust the stack of the recursive parse.
constexpr int kMaxNesting = 1000;

struct FunctionName {
    const char* name;
    Kind kind;
};

constexpr FunctionName kFunctions[] = {
    {"cos", Kind::Cos},     {"sin", Kind::Sin},      {"tg", Kind::Tg},         {"ctg", Kind::Ctg},
    {"abs", Kind::Abs},     {"sgn", Kind::Sgn},      {"sign", Kind::Sgn},      {"sqrt", Kind::Sqrt},
    {"ln", Kind::Ln},       {"exp", Kind::Exp},      {"arcsin", Kind::Arcsin}, {"arccos", Kind::Arccos},
    {"arctg", Kind::Arctg}, {"arctan", Kind::Arctg}, {"arcctg", Kind::Arcctg}, {"sh", Kind::Sh},
    {"sinh", Kind::Sh},     {"ch", Kind::Ch},        {"cosh", Kind::Ch},       {"th", Kind::Th},
    {"tanh", Kind::Th},     {"cth", Kind::Cth},      {"coth", Kind::Cth},      {"heaviside", Kind::Heaviside},
    {"h", Kind::Heaviside},
};

bool IsFunction(Kind kind) {
    return kind >= Kind::Cos && kind <= Kind::Heaviside;
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The formula text is lower-cased before it is read.
bool IsLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || c == u'_';
}

// Only the ASCII letters change, so function names are found in any letter case
// and an "E" in a number reads as "e".
QString LowerAscii(const QString& text) {
    QString lower = text;
    for (QChar& c : lower) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return lower;
}

// Number literals always use "." whatever the locale of the process.
long double ReadLiteral(const QString& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const QByteArray bytes = text.toLatin1();
    return strtold_l(bytes.constData(), nullptr, cLocale);
}

struct SyntaxError {};

// Recursive descent over the lower-cased formula, writing the operations in
// postfix order. The grammar, and its quirks that stored formulas rely on:
//   E: T { ("+" | "-") T } ending at the end of the text or at ")".
//   T: at the start of the text or after "(" an optional "-" and then an
//      optional "+"; F { ("*" | "/") F }; the sign applies to the whole term.
//   F: "(" E | number | variable | function "(" E, followed by any number of
//      "^" with an exponent that is one number or variable, optionally in one
//      pair of parentheses.
// A "-" directly followed by a digit at the start of the text or after "(" is
// part of the number literal, so -2^2 is 4 while - 2^2 is -4.
class Parser {
public:
    Parser(const QString& text, const QStringList& names)
        : m_text(text)
        , m_names(names) {}

    std::vector<CalcStep> parse() {
        expression();
        if (m_balance != 0)
            throw SyntaxError();
        return std::move(m_program);
    }

private:
    void expression() {
        term();
        for (;;) {
            switch (m_token.kind) {
            case Kind::End:
                return;
            case Kind::Close:
                --m_balance;
                return;
            case Kind::Plus:
            case Kind::Minus: {
                const Kind op = m_token.kind;
                term();
                append(op);
                break;
            }
            default:
                throw SyntaxError();
            }
        }
    }

    void term() {
        readToken();
        bool negate = false;
        if (m_previous == Kind::End || m_previous == Kind::Open) {
            if (m_token.kind == Kind::Minus) {
                negate = true;
                readToken();
            }
            if (m_token.kind == Kind::Plus)
                readToken();
        }
        factor();
        while (m_token.kind == Kind::Times || m_token.kind == Kind::Divide) {
            const Kind op = m_token.kind;
            readToken();
            factor();
            append(op);
        }
        if (negate)
            append(Kind::Negate);
    }

    void factor() {
        if (m_token.kind == Kind::Open) {
            parenthesised();
        } else if (m_token.kind == Kind::Number || m_token.kind == Kind::Variable) {
            m_program.push_back(m_token);
        } else if (IsFunction(m_token.kind)) {
            const Kind function = m_token.kind;
            readToken();
            if (m_token.kind != Kind::Open)
                throw SyntaxError();
            parenthesised();
            append(function);
        } else {
            throw SyntaxError();
        }
        readToken();
        while (m_token.kind == Kind::Power) {
            readToken();
            const bool inParentheses = m_token.kind == Kind::Open;
            if (inParentheses)
                readToken();
            if (m_token.kind != Kind::Number && m_token.kind != Kind::Variable)
                throw SyntaxError();
            m_program.push_back(m_token);
            append(Kind::Power);
            if (inParentheses) {
                readToken();
                if (m_token.kind != Kind::Close)
                    throw SyntaxError();
            }
            readToken();
        }
    }

    // The expression after "(" of a grouping or a function call; it consumes the ")".
    void parenthesised() {
        ++m_balance;
        if (++m_depth > kMaxNesting)
            throw SyntaxError();
        expression();
        --m_depth;
    }

    void append(Kind kind) { m_program.push_back(CalcStep{kind, 0, 0}); }

    void readToken() {
        while (m_pos < m_text.size() && m_text[m_pos] == u' ')
            ++m_pos;
        if (m_pos >= m_text.size()) {
            // The end of the text leaves the remembered kinds as they are.
            m_token = CalcStep{};
            return;
        }
        const QChar c = m_text[m_pos];
        CalcStep token;
        switch (c.unicode()) {
        case u'(':
            token.kind = Kind::Open;
            ++m_pos;
            break;
        case u')':
            token.kind = Kind::Close;
            ++m_pos;
            break;
        case u'+':
            token.kind = Kind::Plus;
            ++m_pos;
            break;
        case u'*':
            token.kind = Kind::Times;
            ++m_pos;
            break;
        case u'/':
            token.kind = Kind::Divide;
            ++m_pos;
            break;
        case u'^':
            token.kind = Kind::Power;
            ++m_pos;
            break;
        case u'-':
            if (m_pos + 1 < m_text.size() && IsDigit(m_text[m_pos + 1]) &&
                (m_current == Kind::End || m_current == Kind::Open)) {
                token = readNumber(m_pos++);
            } else {
                token.kind = Kind::Minus;
                ++m_pos;
            }
            break;
        default:
            if (IsDigit(c))
                token = readNumber(m_pos);
            else if (IsLetter(c))
                token = readIdentifier();
            else
                throw SyntaxError();
        }
        m_previous = m_current;
        m_current = token.kind;
        m_token = token;
    }

    // Digits, optionally "." and digits, optionally "e", a sign and digits,
    // from the read position; the literal's text begins at start.
    CalcStep readNumber(qsizetype start) {
        skipDigits();
        if (m_pos < m_text.size() && m_text[m_pos] == u'.') {
            ++m_pos;
            if (!skipDigits())
                throw SyntaxError();
        }
        if (m_pos < m_text.size() && m_text[m_pos] == u'e') {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == u'+' || m_text[m_pos] == u'-'))
                ++m_pos;
            if (!skipDigits())
                throw SyntaxError();
        }
        return CalcStep{Kind::Number, ReadLiteral(m_text.mid(start, m_pos - start)), 0};
    }

    bool skipDigits() {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos]))
            ++m_pos;
        return m_pos > start;
    }

    // A function name, or else the name of a variable; a name that is neither
    // has no value to take and is a syntax error.
    CalcStep readIdentifier() {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (IsLetter(m_text[m_pos]) || IsDigit(m_text[m_pos])))
            ++m_pos;
        const QString name = m_text.mid(start, m_pos - start);
        for (const FunctionName& function : kFunctions) {
            if (name == QLatin1String(function.name))
                return CalcStep{function.kind, 0, 0};
        }
        for (qsizetype i = 0; i < m_names.size(); ++i) {
            if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
                return CalcStep{Kind::Variable, 0, static_cast<int>(i)};
        }
        throw SyntaxError();
    }

    const QString& m_text;
    const QStringList& m_names;
    qsizetype m_pos = 0;
    Kind m_previous = Kind::End;
    Kind m_current = Kind::End;
    CalcStep m_token;
    int m_balance = 0;
    int m_depth = 0;
    std::vector<CalcStep> m_program;
};

// What the processor traps: an invalid operation gives NaN, an overflow infinity.
long double Trap(long double value) {
    if (std::isnan(value))
        throw ECalcError(kInvalidOperation);
    if (std::isinf(value))
        throw ECalcError(kOverflow);
    return value;
}

long double Quotient(long double a, long double b) {
    if (b == 0)
        throw ECalcError(a == 0 ? kInvalidOperation : kDivisionByZero);
    return Trap(a / b);
}

long double NaturalLog(long double x) {
    if (x == 0)
        throw ECalcError(kDivisionByZero);
    return Trap(std::log(x));
}

long double Exponential(long double x) {
    return Trap(std::exp(x));
}

// From this magnitude on the processor cannot reduce the argument of sine and
// cosine, and the result is 0.
constexpr long double kTrigonometricLimit = 9223372036854775808.0L; // 2^63

long double Power(long double base, long double exponent) {
    if (exponent == 0)
        return 1;
    if (base == 0 && exponent > 0)
        return 0;
    if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0L) {
        auto bits = static_cast<std::uint32_t>(std::fabs(exponent));
        long double result = 1;
        long double running = base;
        for (;;) {
            if (bits & 1u)
                result = Trap(result * running);
            bits >>= 1;
            if (bits == 0)
                break;
            running = Trap(running * running);
        }
        return exponent < 0 ? Quotient(1, result) : result;
    }
    return Exponential(Trap(exponent * NaturalLog(base)));
}

long double Function(Kind kind, long double x) {
    switch (kind) {
    case Kind::Cos:
        return std::fabs(x) >= kTrigonometricLimit ? 0 : std::cos(x);
    case Kind::Sin:
        return std::fabs(x) >= kTrigonometricLimit ? 0 : std::sin(x);
    case Kind::Tg:
        return std::tan(x);
    case Kind::Ctg:
        return Quotient(1, std::tan(x));
    case Kind::Abs:
        return std::fabs(x);
    case Kind::Sgn:
        return x < 0 ? -1 : (x > 0 ? 1 : 0);
    case Kind::Sqrt:
        return Trap(std::sqrt(x));
    case Kind::Ln:
        return NaturalLog(x);
    case Kind::Exp:
        return Exponential(x);
    case Kind::Arcsin:
        // Outside -1..1 the square root, and so the function, is invalid.
        return std::atan2(x, Trap(std::sqrt(1 - x * x)));
    case Kind::Arccos:
        return std::atan2(Trap(std::sqrt(1 - x * x)), x);
    case Kind::Arctg:
        return std::atan(x);
    case Kind::Arcctg:
        return std::numbers::pi_v<long double> / 2 - std::atan(x);
    case Kind::Sh:
        return (Exponential(x) - Exponential(-x)) / 2;
    case Kind::Ch:
        return (Exponential(x) + Exponential(-x)) / 2;
    case Kind::Th: {
        const long double plus = Exponential(x);
        const long double minus = Exponential(-x);
        return Quotient(plus - minus, plus + minus);
    }
    case Kind::Cth: {
        const long double plus = Exponential(x);
        const long double minus = Exponential(-x);
        return Quotient(plus + minus, plus - minus);
    }
    case Kind::Heaviside:
        return x >= 0 ? 1 : 0;
    default:
        Q_UNREACHABLE();
    }
}

} // namespace

TCalcExpress::TCalcExpress(QObject* owner)
    : QObject(owner) {
    setFormula(QStringLiteral("0"));
}

TCalcExpress::~TCalcExpress() = default;

void TCalcExpress::setFormula(const QString& formula) {
    m_program.clear();
    m_formula = LowerAscii(formula);
    try {
        m_program = Parser(m_formula, m_variables).parse();
    } catch (const SyntaxError&) {
        ShowMessage(QString::fromLatin1(kErrorInFormula));
    }
}

void TCalcExpress::setVariables(const QStringList& names) {
    m_variables = names;
    setFormula(m_formula);
}

long double TCalcExpress::Evaluate(const std::vector<long double>& values) const {
    if (m_program.empty())
        throw ECalcError(kErrorInFormula);
    std::vector<long double> stack;
    for (const CalcStep& step : m_program) {
        switch (step.kind) {
        case Kind::Number:
            // A literal too large for the format is an overflow.
            stack.push_back(Trap(step.number));
            break;
        case Kind::Variable:
            if (static_cast<std::size_t>(step.index) >= values.size())
                throw ECalcError("No value for the variable " + m_variables.value(step.index).toStdString());
            stack.push_back(values[static_cast<std::size_t>(step.index)]);
            break;
        case Kind::Negate:
            stack.back() = -stack.back();
            break;
        case Kind::Plus:
        case Kind::Minus:
        case Kind::Times:
        case Kind::Divide:
        case Kind::Power: {
            const long double right = stack.back();
            stack.pop_back();
            long double& left = stack.back();
            if (step.kind == Kind::Plus)
                left = Trap(left + right);
            else if (step.kind == Kind::Minus)
                left = Trap(left - right);
            else if (step.kind == Kind::Times)
                left = Trap(left * right);
            else if (step.kind == Kind::Divide)
                left = Quotient(left, right);
            else
                left = Power(left, right);
            break;
        }
        default:
            stack.back() = Function(step.kind, stack.back());
        }
    }
    return stack.back();
}
