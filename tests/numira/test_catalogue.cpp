// The catalogue: the list items as shown, and which kinds have remainders.
#include "common/short_string.h"
#include "numira/core/catalogue.h"
#include "numira/core/problem_store.h"

#include <QTest>

using namespace numira;

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void catalogue_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("addition 1") << 0 << 9 << 1 << u"2:１けたどうしのくりあがりのあるたしざん"_qs << 40;
        QTest::newRow("addition 7") << 0 << 9 << 7 << u"8:○.○＋○.○のたしざん"_qs << 24;
        QTest::newRow("subtraction 1") << 1 << 9 << 1 << u"2:19まで－１けた くり下がりあり"_qs << 31;
        QTest::newRow("multiplication 0") << 2 << 10 << 0 << u" 1:○○Ｘ○  くりあがりなし"_qs << 27;
        QTest::newRow("multiplication 9") << 2 << 10 << 9 << u"10:小数２位と小数１位のかけざん"_qs << 31;
        QTest::newRow("division 2") << 3 << 11 << 2 << u" 3:1000まで÷○\u3000（わりきれる）"_qs << 31;
        QTest::newRow("division 9") << 3 << 11 << 9 << u"10:○.○○÷○.○（わりきれる)"_qs << 30;
        QTest::newRow("division 10") << 3 << 11 << 10 << u"11:九九１かいのわりざん（あまりつき）"_qs << 37;
    }
    void catalogue()
    {
        QFETCH(int, category);
        QFETCH(int, items);
        QFETCH(int, number);
        QFETCH(QString, text);
        QFETCH(int, bytes);
        const QStringList list = CatalogueItems(category);
        QCOMPARE(list.size(), items);
        QCOMPARE(LastProblemType(category), items - 1);
        QCOMPARE(list.at(number), text);
        QCOMPARE(common::shiftJisWidth(list.at(number)), bytes);
        // Every title fits the title field whole.
        for (const QString& item : list) {
            TitleText title(item);
            QCOMPARE(title.text(), item);
        }
    }

    // Remainder answers belong to division types 4, 5 and 10.
    void remainderKinds()
    {
        for (int c = 0; c <= 4; ++c)
            for (int n = 0; n <= 10; ++n)
                QCOMPARE(HasRemainder(c, n), c == kDivision && (n == 4 || n == 5 || n == 10));
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
