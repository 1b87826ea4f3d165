// SPDX-License-Identifier: GPL-3.0-or-later
// Time to generate one problem set of every kind the choice window offers:
// the 39 numbered types and the multiplication table with all rows and 0.
// Run by hand, e.g. bench_generators -median 20.
#include "numira/core/catalogue.h"
#include "numira/core/generators.h"

#include <QTest>

using namespace numira;

class BenchGenerators : public QObject {
    Q_OBJECT
private slots:
    void generate_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("number");
        const char* const families[] = {"addition", "subtraction", "multiplication", "division"};
        for (int category = kAddition; category <= kDivision; ++category)
            for (int number = 0; number <= lastProblemType(category); ++number)
                QTest::addRow("%s %d", families[category], number) << category << number;
        QTest::newRow("table all rows with 0") << int(kMultiplicationTable) << 0;
    }
    void generate()
    {
        QFETCH(int, category);
        QFETCH(int, number);
        // The program's own source: every set starts with a re-seeding.
        common::ClockRandomSource random;
        ProblemGenerators generators(random);
        Choice choice;
        choice.category = category;
        choice.number = number;
        choice.tableRows.rows.fill(true);
        choice.tableRows.lowestMultiplier = 0;
        ProblemStore store;
        QBENCHMARK { generators.generate(choice, store); }
        QVERIFY(store.count > 0);
    }
};

QTEST_GUILESS_MAIN(BenchGenerators)
#include "bench_generators.moc"
