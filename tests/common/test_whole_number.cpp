// SPDX-License-Identifier: GPL-3.0-or-later
// Whole numbers typed into the input boxes.
#include "common/whole_number.h"

#include <QTest>

class TestWholeNumber : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "10" << true << 10;
        QTest::newRow("blanks") << "  7 " << true << 7;
        QTest::newRow("signs") << "-3" << true << -3;
        QTest::newRow("plus") << "+250" << true << 250;
        QTest::newRow("huge saturates") << "99999999999999999999" << true << 2147483647;
        QTest::newRow("huge negative") << "-99999999999999999999" << true << -2147483647 - 1;
        QTest::newRow("2^31 saturates") << "2147483648" << true << 2147483647;
        QTest::newRow("-2^31-1 saturates") << "-2147483649" << true << -2147483647 - 1;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("trailing letter") << "12a" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign alone") << "-" << false << 0;
        QTest::newRow("full-width digits") << u"１２"_qs << false << 0;
        QTest::newRow("decimal") << "1.5" << false << 0;
        QTest::newRow("inner blank") << "1 2" << false << 0;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto parsed = common::parseWholeNumber(text);
        QCOMPARE(parsed.has_value(), ok);
        if (ok) QCOMPARE(*parsed, value);
    }
};

QTEST_GUILESS_MAIN(TestWholeNumber)
#include "test_whole_number.moc"
