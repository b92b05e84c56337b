// The integer conversions TextToInteger and IntegerToText.

#include "Conversions.h"
#include "Exceptions.h"

#include <QtTest>

#include <limits>

class TestConversions : public QObject {
    Q_OBJECT

private slots:
    void textToIntegerAccepts_data();
    void textToIntegerAccepts();
    void textToIntegerRefuses_data();
    void textToIntegerRefuses();
    void refusalIsAConvertErrorAndAnException();
    void integerToText_data();
    void integerToText();
    void everyIntegerTextReadsBack_data();
    void everyIntegerTextReadsBack();
};

void TestConversions::textToIntegerAccepts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("value");

    const auto row = [](const char* name, const QString& text, qint32 value) {
        QTest::newRow(name) << text << value;
    };
    // Decimal, with leading blanks and an optional sign.
    row("zero", QStringLiteral("0"), 0);
    row("plain", QStringLiteral("42"), 42);
    row("one leading blank", QStringLiteral(" 42"), 42);
    row("many leading blanks", QStringLiteral("     42"), 42);
    row("plus sign", QStringLiteral("+7"), 7);
    row("minus sign", QStringLiteral("-5"), -5);
    row("minus zero", QStringLiteral("-0"), 0);
    row("plus zero", QStringLiteral("+0"), 0);
    row("leading zeros", QStringLiteral("007"), 7);
    row("signed leading zeros", QStringLiteral("-007"), -7);
    row("many leading zeros", QStringLiteral("0000000000000000000000000001"), 1);
    row("only zeros", QStringLiteral("0000"), 0);
    row("blank then sign", QStringLiteral("  -12"), -12);
    row("largest", QStringLiteral("2147483647"), std::numeric_limits<qint32>::max());
    row("largest with plus", QStringLiteral("+2147483647"), std::numeric_limits<qint32>::max());
    row("largest with zeros", QStringLiteral("0002147483647"), std::numeric_limits<qint32>::max());
    row("smallest", QStringLiteral("-2147483648"), std::numeric_limits<qint32>::min());
    row("smallest with zeros", QStringLiteral("-002147483648"), std::numeric_limits<qint32>::min());
    // Hexadecimal prefixes.
    row("dollar", QStringLiteral("$1A"), 26);
    row("x", QStringLiteral("x1A"), 26);
    row("X", QStringLiteral("X1A"), 26);
    row("0x", QStringLiteral("0x1A"), 26);
    row("0X", QStringLiteral("0X1A"), 26);
    row("lower case digits", QStringLiteral("$1a"), 26);
    row("mixed case digits", QStringLiteral("$aBcD"), 0xABCD);
    row("blank then hex", QStringLiteral(" $10"), 16);
    row("blanks then 0x", QStringLiteral("   0x10"), 16);
    row("hex zero", QStringLiteral("$0"), 0);
    row("hex all ones", QStringLiteral("$FFFFFFFF"), -1);
    row("hex all ones lower", QStringLiteral("0xffffffff"), -1);
    row("hex sign bit", QStringLiteral("$80000000"), std::numeric_limits<qint32>::min());
    row("hex sign bit x", QStringLiteral("x80000000"), std::numeric_limits<qint32>::min());
    row("hex largest positive", QStringLiteral("$7FFFFFFF"), std::numeric_limits<qint32>::max());
    row("hex leading zeros", QStringLiteral("$0000000FF"), 255);
    row("hex many leading zeros", QStringLiteral("0x0000000000000001"), 1);
    row("hex leading zeros full width", QStringLiteral("$00FFFFFFFF"), -1);
    row("0x then zero", QStringLiteral("0x0"), 0);
    row("0 then x digits", QStringLiteral("0x00"), 0);
}

void TestConversions::textToIntegerAccepts()
{
    QFETCH(QString, text);
    QFETCH(qint32, value);
    try {
        QCOMPARE(TextToInteger(text), value);
    } catch (const Exception& failure) {
        QFAIL(qPrintable(QStringLiteral("unexpected failure: ") + failure.Message()));
    }
}

void TestConversions::textToIntegerRefuses_data()
{
    QTest::addColumn<QString>("text");

    const auto row = [](const char* name, const QString& text) { QTest::newRow(name) << text; };
    row("empty", QString());
    row("one blank", QStringLiteral(" "));
    row("three blanks", QStringLiteral("   "));
    row("trailing blank", QStringLiteral("42 "));
    row("blanks both sides", QStringLiteral(" 42 "));
    row("tab before", QStringLiteral("\t5"));
    row("tab after", QStringLiteral("5\t"));
    row("line end after", QStringLiteral("5\r\n"));
    row("nul inside", QString(QStringLiteral("4") + QChar(0) + QStringLiteral("2")));
    row("non-breaking space before", QString(QChar(0xA0) + QStringLiteral("5")));
    row("full-width digit", QString(QChar(0xFF15)));
    row("arabic-indic digit", QString(QChar(0x0665)));
    row("minus alone", QStringLiteral("-"));
    row("plus alone", QStringLiteral("+"));
    row("blank then minus", QStringLiteral(" -"));
    row("two signs", QStringLiteral("--5"));
    row("plus minus", QStringLiteral("+-5"));
    row("sign then blank", QStringLiteral("- 5"));
    row("dollar alone", QStringLiteral("$"));
    row("x alone", QStringLiteral("x"));
    row("0x alone", QStringLiteral("0x"));
    row("0X alone", QStringLiteral("0X"));
    row("minus dollar", QStringLiteral("-$10"));
    row("plus dollar", QStringLiteral("+$10"));
    row("plus 0x", QStringLiteral("+0x1"));
    row("minus 0x", QStringLiteral("-0x1"));
    row("minus x", QStringLiteral("-x1"));
    row("double prefix", QStringLiteral("$0x1"));
    row("double zero prefix", QStringLiteral("00x1"));
    row("hex digit in decimal", QStringLiteral("1A"));
    row("hex beyond F", QStringLiteral("$1G"));
    row("hex then blank", QStringLiteral("$1A "));
    row("prefix then blank", QStringLiteral("$ 1A"));
    row("hex nine digits", QStringLiteral("$100000000"));
    row("hex far too large", QStringLiteral("$FFFFFFFFFFFFFFFF"));
    row("hex leading zeros too large", QStringLiteral("$000100000000"));
    row("decimal point", QStringLiteral("1.5"));
    row("digit grouping", QStringLiteral("1,000"));
    row("exponent", QStringLiteral("1e3"));
    row("one above largest", QStringLiteral("2147483648"));
    row("plus one above largest", QStringLiteral("+2147483648"));
    row("one below smallest", QStringLiteral("-2147483649"));
    row("far too large", QStringLiteral("99999999999999999999999"));
    row("far too small", QStringLiteral("-99999999999999999999999"));
    row("letters", QStringLiteral("abc"));
    row("h suffix", QStringLiteral("1Ah"));
}

void TestConversions::textToIntegerRefuses()
{
    QFETCH(QString, text);
    try {
        const qint32 value = TextToInteger(text);
        QFAIL(qPrintable(QStringLiteral("accepted with the value %1").arg(value)));
    } catch (const EConvertError& failure) {
        QCOMPARE(failure.Message(), QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value"));
    }
}

void TestConversions::refusalIsAConvertErrorAndAnException()
{
    try {
        TextToInteger(QStringLiteral("   "));
        QFAIL("accepted a text of blanks");
    } catch (const Exception& failure) {
        QVERIFY(dynamic_cast<const EConvertError*>(&failure) != nullptr);
        QCOMPARE(failure.Message(), QStringLiteral("'   ' is not a valid integer value"));
    }
    try {
        TextToInteger(QString());
        QFAIL("accepted the empty text");
    } catch (const EConvertError& failure) {
        QCOMPARE(failure.Message(), QStringLiteral("'' is not a valid integer value"));
    }
}

void TestConversions::integerToText_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("minus five") << qint32(-5) << QStringLiteral("-5");
    QTest::newRow("zero") << qint32(0) << QStringLiteral("0");
    QTest::newRow("seven") << qint32(7) << QStringLiteral("7");
    QTest::newRow("thousands") << qint32(1000000) << QStringLiteral("1000000");
    QTest::newRow("largest") << std::numeric_limits<qint32>::max() << QStringLiteral("2147483647");
    QTest::newRow("smallest") << std::numeric_limits<qint32>::min() << QStringLiteral("-2147483648");
}

void TestConversions::integerToText()
{
    QFETCH(qint32, value);
    QFETCH(QString, text);
    QCOMPARE(IntegerToText(value), text);
}

void TestConversions::everyIntegerTextReadsBack_data()
{
    QTest::addColumn<qint32>("value");
    for (qint32 value : {std::numeric_limits<qint32>::min(), -2147483647, -65536, -100, -1, 0, 1,
                         9, 10, 99, 100, 65535, 2147483646, std::numeric_limits<qint32>::max()})
        QTest::newRow(qPrintable(QString::number(value))) << value;
}

void TestConversions::everyIntegerTextReadsBack()
{
    QFETCH(qint32, value);
    QCOMPARE(TextToInteger(IntegerToText(value)), value);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
