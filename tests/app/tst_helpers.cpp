// The shared text, list, file and widget helpers.

#include "app/helpers.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

class TestHelpers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void padZero_data();
    void padZero();
    void subStrCount_data();
    void subStrCount();
    void pinyinInitials_data();
    void pinyinInitials();
    void normaliseAmountText_data();
    void normaliseAmountText();
    void indexOfText_data();
    void indexOfText();
    void gbkLeft_data();
    void gbkLeft();
    void nodePath();
    void copyDataFile();
    void enterAsTab();
};

void TestHelpers::padZero_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("short") << "7" << 4 << "0007";
    QTest::newRow("empty") << "" << 4 << "0000";
    QTest::newRow("exact") << "0001" << 4 << "0001";
    QTest::newRow("longer is never cut") << "12345" << 4 << "12345";
}

void TestHelpers::padZero() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(PadZero(text, width), expected);
}

void TestHelpers::subStrCount_data() {
    QTest::addColumn<QString>("searched");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("bars") << "|" << "a|b|c" << 2;
    QTest::newRow("none") << "|" << "abc" << 0;
    QTest::newRow("empty searched") << "" << "abc" << 0;
    QTest::newRow("no overlap") << "aa" << "aaaaa" << 2;
}

void TestHelpers::subStrCount() {
    QFETCH(QString, searched);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(SubStrCount(searched, text), expected);
}

void TestHelpers::pinyinInitials_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("position name") << "总经理" << "ZJL";
    QTest::newRow("mixed") << "部门A1" << "BMA1";
    QTest::newRow("ascii unchanged") << "Abc123-x" << "Abc123-x";
    QTest::newRow("first of range A") << "啊" << "A";  // B0A1
    QTest::newRow("last of range Z") << "座" << "Z";   // D7F9
    QTest::newRow("Y range starts at D189") << "压" << "Y"; // D1B9
    QTest::newRow("D1A1 gives Y, as the table says") << "选" << "Y"; // D1A1
    QTest::newRow("second-level character") << "亍" << " "; // D8A1, outside the table
    QTest::newRow("full-width punctuation") << "，" << " ";
}

void TestHelpers::pinyinInitials() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(PinyinInitials(text), expected);
    if (text.size() == 1 && text[0].unicode() >= 0x80)
        QCOMPARE(PinyinInitial(text), expected);
}

void TestHelpers::normaliseAmountText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("leading blanks") << "  123.50" << "123.50";
    QTest::newRow("blanks among digits") << "1 2 .5 " << "12.5";
    QTest::newRow("lone point") << "       .  " << "0.0";
    QTest::newRow("point zero") << "      .0 " << "0.0";
    QTest::newRow("initial text") << "0      .00" << "0.00";
}

void TestHelpers::normaliseAmountText() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(NormaliseAmountText(text), expected);
}

void TestHelpers::indexOfText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<int>("expected");
    // list: 00010002, 0001, 00020001
    QTest::newRow("prefix finds first beginning") << "0001" << true << 0;
    QTest::newRow("exact finds exact") << "0001" << false << 1;
    QTest::newRow("exact is case-sensitive") << "ABC" << false << -1;
    QTest::newRow("prefix never matches empty") << "" << true << -1;
    QTest::newRow("exact empty") << "" << false << -1;
    QTest::newRow("missing") << "0003" << true << -1;
}

void TestHelpers::indexOfText() {
    QFETCH(QString, text);
    QFETCH(bool, prefix);
    QFETCH(int, expected);
    const QStringList list{"00010002", "0001", "00020001", "abc"};
    QCOMPARE(IndexOfText(list, text, prefix), expected);
}

void TestHelpers::gbkLeft_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits") << "销售部" << 30 << "销售部";
    QTest::newRow("cut between characters") << "销售部" << 4 << "销售";
    QTest::newRow("never inside a character") << "销售部" << 5 << "销售";
    QTest::newRow("mixed") << "A销B" << 3 << "A销";
    QTest::newRow("mixed odd cut") << "A销B" << 2 << "A";
    QTest::newRow("zero") << "abc" << 0 << "";
}

void TestHelpers::gbkLeft() {
    QFETCH(QString, text);
    QFETCH(int, bytes);
    QFETCH(QString, expected);
    QCOMPARE(GbkLeft(text, bytes), expected);
    QVERIFY(GbkLength(GbkLeft(text, bytes)) <= bytes);
}

void TestHelpers::nodePath() {
    QTreeWidget tree;
    auto* root = new QTreeWidgetItem(&tree, {QStringLiteral("管理费用")});
    auto* middle = new QTreeWidgetItem(root, {QStringLiteral("办公费")});
    auto* leaf = new QTreeWidgetItem(middle, {QStringLiteral("电费")});
    QCOMPARE(NodePath(leaf), QStringLiteral("管理费用\\办公费\\电费\\"));
    QCOMPARE(NodePath(root), QStringLiteral("管理费用\\"));
    QCOMPARE(NodePath(nullptr), QString());
}

void TestHelpers::copyDataFile() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("a.bin"));
    const QString target = dir.filePath(QStringLiteral("b.bin"));
    auto write = [](const QString& name, const QByteArray& content) {
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    write(source, "short");
    write(target, QByteArray(10000, 'x'));
    CopyDataFile(source, target); // replaces completely, also when shorter
    QFile copied(target);
    QVERIFY(copied.open(QIODevice::ReadOnly));
    QCOMPARE(copied.readAll(), QByteArray("short"));

    QVERIFY_THROWS_EXCEPTION(std::runtime_error, CopyDataFile(dir.filePath("missing"), target));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, CopyDataFile(source, dir.filePath("no/such/folder/c.bin")));
    QVERIFY(!QFile::exists(dir.filePath("no/such/folder/c.bin")));
}

void TestHelpers::enterAsTab() {
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* first = new QLineEdit(&form);
    auto* memo = new QPlainTextEdit(&form);
    auto* last = new QLineEdit(&form);
    layout->addWidget(first);
    layout->addWidget(memo);
    layout->addWidget(last);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);

    first->setFocus();
    EnterAsTab(first, Qt::Key_Return, Qt::NoModifier);
    QTRY_VERIFY(memo->hasFocus());
    EnterAsTab(memo, Qt::Key_Return, Qt::NoModifier); // stays: Enter is a line break there
    QVERIFY(memo->hasFocus());
    EnterAsTab(memo, Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(last->hasFocus());
    EnterAsTab(last, Qt::Key_A, Qt::NoModifier); // other keys do nothing
    QVERIFY(last->hasFocus());
    EnterAsTab(nullptr, Qt::Key_Return, Qt::NoModifier);
}

QTEST_MAIN(TestHelpers)
#include "tst_helpers.moc"
