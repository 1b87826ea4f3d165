// SPDX-License-Identifier: GPL-3.0-or-later
// Judging typed answers as numbers: decimals, remainders, and the reading
// rules for blanks, signs and stray characters.
#include "numira/core/judge.h"

#include <QTest>

using namespace numira;

class TestJudge : public QObject {
    Q_OBJECT
private slots:
    void judge_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("remainder");
        QTest::addColumn<bool>("right");
        QTest::newRow("12") << "12"
                            << "12" << false << true;
        QTest::newRow("12.0") << "12"
                              << "12.0" << false << true;
        QTest::newRow("012") << "12"
                             << "012" << false << true;
        QTest::newRow("+12") << "12"
                             << "+12" << false << true;
        QTest::newRow("blank 12") << "12"
                                  << " 12" << false << true;
        QTest::newRow("12 blank") << "12"
                                  << "12 " << false << true;
        QTest::newRow("exponent") << "12"
                                  << "1.2e1" << false << true;
        QTest::newRow("exponent sign") << "0.012"
                                       << "12E-3" << false << true;
        QTest::newRow("full-width digits") << "12" << u"１２"_qs << false << false;
        QTest::newRow("full-width blank first") << "12" << u"\u300012"_qs << false << false;
        QTest::newRow("13") << "12"
                            << "13" << false << false;
        QTest::newRow("12abc") << "12"
                               << "12abc" << false << true;
        QTest::newRow("12 kana") << "12" << u"12こ"_qs << false << true;
        QTest::newRow(".3") << "0.3"
                            << ".3" << false << true;
        QTest::newRow("0.30") << "0.3"
                              << "0.30" << false << true;
        QTest::newRow("0.3 blank") << "0.3"
                                   << "0.3 " << false << true;
        QTest::newRow("0.3 blank is not 3") << "3"
                                            << "0.3 " << false << false;
        QTest::newRow(".5") << "0.5"
                            << ".5" << false << true;
        QTest::newRow("0.5x") << "0.5"
                              << "0.5x" << false << true;
        QTest::newRow("-3a is not 3") << "3"
                                      << "-3a" << false << false;
        QTest::newRow("-3a is -3") << "-3"
                                   << "-3a" << false << true;
        QTest::newRow("5. is 5") << "5"
                                 << "5." << false << true;
        QTest::newRow("lone point") << "0"
                                    << "." << false << true;
        QTest::newRow("preset text") << "0" << u"こたえ"_qs << false << true;
        QTest::newRow("dangling exponent") << "1.2"
                                           << "1.2e" << false << true;
        QTest::newRow("0.1+0.2 exact") << "0.3"
                                       << "0.30000000000000004" << false << false;
        QTest::newRow("huge") << "12"
                              << "1e400" << false << false;
        QTest::newRow("9.99") << "9.99"
                              << "9.990" << false << true;
        // Beyond the double range without an exponent, or against its sign:
        // underflow reads 0 and overflow infinity, as correctly rounded.
        QTest::newRow("underflow without exponent")
            << "0" << QString("0." + QString(400, u'0') + "1") << false << true;
        QTest::newRow("overflow with negative exponent")
            << "0" << QString("1" + QString(400, u'0') + "e-10") << false << false;

        QTest::newRow("rem right") << "3...2"
                                   << "3...2" << true << true;
        QTest::newRow("rem blanks") << "3...2"
                                    << " 3 ... 2 " << true << true;
        QTest::newRow("rem wrong remainder") << "3...2"
                                             << "3...1" << true << false;
        QTest::newRow("rem quotient alone") << "3...2"
                                            << "3" << true << false;
        QTest::newRow("rem zero remainder, quotient alone") << "5...0"
                                                            << "5" << true << true;
        QTest::newRow("rem 123 is not 0...3") << "0...3"
                                              << "123" << true << false;
        QTest::newRow("rem 0...3") << "0...3"
                                   << "0...3" << true << true;
        QTest::newRow("rem leading zeros") << "3...2"
                                           << "03...02" << true << true;
        QTest::newRow("rem negative not positive") << "3...2"
                                                   << "-3...2" << true << false;
        QTest::newRow("rem trailing junk") << "3...2"
                                           << "3...2x" << true << true;
        QTest::newRow("rem empty quotient") << "0...3"
                                            << "...3" << true << true;
        QTest::newRow("rem 20-digit quotient is not 19-digit")
            << "1000000000000000000...0"
            << "10000000000000000000...0" << true << false;
    }
    void judge()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, remainder);
        QFETCH(bool, right);
        QCOMPARE(judgeAnswer(stored, typed, remainder), right);
        // The judge is symmetric.
        QCOMPARE(judgeAnswer(typed, stored, remainder), right);
    }

    void blankAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("blank");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks") << "   " << true;
        QTest::newRow("tab") << "\t" << true;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("full-width blank") << u"\u3000"_qs << false;
    }
    void blankAnswers()
    {
        QFETCH(QString, text);
        QFETCH(bool, blank);
        QCOMPARE(isBlankAnswer(text), blank);
    }

    void wholeReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");
        QTest::newRow("plain") << "17" << qint64(17);
        QTest::newRow("signs") << " -12 " << qint64(-12);
        QTest::newRow("stops") << "-12abc" << qint64(-12);
        QTest::newRow("nothing") << "abc" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("decimal stops") << "3.7" << qint64(3);
        QTest::newRow("largest") << "9223372036854775807" << qint64(9223372036854775807);
        QTest::newRow("largest negative") << "-9223372036854775807" << qint64(-9223372036854775807);
        QTest::newRow("saturates") << "10000000000000000000" << qint64(9223372036854775807);
        QTest::newRow("saturates negative")
            << "-99999999999999999999" << qint64(-9223372036854775807);
    }
    void wholeReading()
    {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QCOMPARE(readWhole(text), value);
    }
};

QTEST_GUILESS_MAIN(TestJudge)
#include "test_judge.moc"
