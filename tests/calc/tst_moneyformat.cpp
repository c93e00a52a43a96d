// The one "0.00" formatter of the system.

#include "app/helpers.h"

#include <QTest>
#include <limits>

Q_DECLARE_METATYPE(long double)

class TestMoneyFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formatMoney_data();
    void formatMoney();
};

void TestMoneyFormat::formatMoney_data() {
    QTest::addColumn<long double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0L << "0.00";
    QTest::newRow("negative zero") << -0.0L << "0.00";
    QTest::newRow("integer") << 3.0L << "3.00";
    QTest::newRow("fraction") << 0.5L << "0.50";
    QTest::newRow("no thousands separator") << 1234567.891L << "1234567.89";
    QTest::newRow("round down") << 1234.564L << "1234.56";
    QTest::newRow("half up") << 0.125L << "0.13";
    QTest::newRow("half away from zero") << -0.125L << "-0.13";
    QTest::newRow("decimal form, not binary") << 2.01L / 2 << "1.01";
    QTest::newRow("decimal literal just below") << 1.005L << "1.01";
    QTest::newRow("carry into a new digit") << 999.995L << "1000.00";
    QTest::newRow("smallest rounding up") << 0.005L << "0.01";
    QTest::newRow("negative rounding to zero") << -0.004L << "0.00";
    QTest::newRow("negative rounding to a cent") << -0.005L << "-0.01";
    QTest::newRow("quotient") << 1201.00L / 4 << "300.25";
    QTest::newRow("beyond 18 digits") << 123456789012345678901234.0L << "123456789012345679000000.00";
    QTest::newRow("largest") << std::numeric_limits<long double>::max()
                             << "118973149535723177" + QString(4915, u'0') + ".00";
    QTest::newRow("tiny") << 1e-4000L << "0.00";
    QTest::newRow("denormal") << -std::numeric_limits<long double>::denorm_min() << "0.00";
    QTest::newRow("infinite") << std::numeric_limits<long double>::infinity() << "INF";
    QTest::newRow("negative infinite") << -std::numeric_limits<long double>::infinity() << "-INF";
    QTest::newRow("not a number") << std::numeric_limits<long double>::quiet_NaN() << "NAN";
}

void TestMoneyFormat::formatMoney() {
    QFETCH(long double, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatMoney(value), expected);
}

QTEST_GUILESS_MAIN(TestMoneyFormat)
#include "tst_moneyformat.moc"
