// SPDX-License-Identifier: GPL-3.0-or-later
// Shift-JIS short strings: widths, cutting on character boundaries, and the
// random sources that the generators draw from.
#include "common/random_source.h"
#include "common/short_string.h"
#include "tests/support/doubles.h"

#include <QTest>

using namespace common;

class TestShortString : public QObject {
    Q_OBJECT
private slots:
    void width_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("ascii") << "23+45" << 5;
        QTest::newRow("division sign") << u"84÷7"_qs << 5;
        QTest::newRow("kana") << u"九九"_qs << 4;
        QTest::newRow("half and full") << u"1:こたえ"_qs << 8;
        QTest::newRow("empty") << QString() << 0;
    }
    void width()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QCOMPARE(shiftJisWidth(text), width);
        QCOMPARE(fromShiftJis(toShiftJis(text)), text);
    }

    void cut_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fits") << "12+34" << 15 << "12+34";
        QTest::newRow("ascii cut") << "1234567890123456789" << 15 << "123456789012345";
        QTest::newRow("never splits a kana") << u"1あいう"_qs << 4 << u"1あ"_qs;
        QTest::newRow("ends on a kana") << u"1あいう"_qs << 5 << u"1あい"_qs;
        QTest::newRow("addition item 2 keeps its last kana at 40")
            << u"2:１けたどうしのくりあがりのあるたしざん"_qs << 40
            << u"2:１けたどうしのくりあがりのあるたしざん"_qs;
        QTest::newRow("same item at 38 loses ん")
            << u"2:１けたどうしのくりあがりのあるたしざん"_qs << 38
            << u"2:１けたどうしのくりあがりのあるたしざ"_qs;
        QTest::newRow("zero") << "abc" << 0 << QString();
    }
    void cut()
    {
        QFETCH(QString, text);
        QFETCH(int, max);
        QFETCH(QString, expected);
        const QByteArray cut = cutShiftJis(toShiftJis(text), max);
        QVERIFY(cut.size() <= max);
        QCOMPARE(fromShiftJis(cut), expected);
    }

    void shortStringStoresCut()
    {
        ShortString<15> s;
        s = u"あいうえおかきく"_qs; // 16 bytes
        QCOMPARE(s.size(), 14);
        QCOMPARE(s.text(), u"あいうえおかき"_qs);
        s = u"1.25x0.8"_qs;
        QCOMPARE(s.text(), u"1.25x0.8"_qs);
        QCOMPARE(s.size(), 8);
    }

    void scriptedSourceChecksRange()
    {
        test_support::ScriptedRandomSource r{3, 0, 9};
        QCOMPARE(r.uniform(4), 3);
        QCOMPARE(r.uniform(1), 0);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, r.uniform(9));
        // Past the script, draws go on within range.
        for (int k = 0; k < 100; ++k) QVERIFY(r.uniform(7) < 7);
    }

    void clockSourceIsUniform()
    {
        // 60000 draws over 6 faces: each face within 5% of its share, and
        // every value of a wider range reachable at both ends.
        ClockRandomSource r;
        int counts[6] = {};
        for (int k = 0; k < 60000; ++k) ++counts[r.uniform(6)];
        for (int c : counts) QVERIFY2(c > 9500 && c < 10500, qPrintable(QString::number(c)));
        bool low = false, high = false;
        for (int k = 0; k < 20000 && !(low && high); ++k) {
            const int v = r.uniform(1001);
            QVERIFY(v >= 0 && v <= 1000);
            low |= v == 0;
            high |= v == 1000;
        }
        QVERIFY(low && high);
    }

    void clockSourceReseedsDiffer()
    {
        // Two re-seedings in quick succession must not repeat the sequence.
        ClockRandomSource r;
        r.reseedFromClock();
        QList<int> first;
        for (int k = 0; k < 8; ++k) first << r.uniform(1000000);
        r.reseedFromClock();
        QList<int> second;
        for (int k = 0; k < 8; ++k) second << r.uniform(1000000);
        QVERIFY(first != second);
    }
};

QTEST_GUILESS_MAIN(TestShortString)
#include "test_short_string.moc"
