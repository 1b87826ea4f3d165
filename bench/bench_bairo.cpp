// SPDX-License-Identifier: GPL-3.0-or-later
// A right answer judged and the next LCM/GCD problem drawn and computed (no
// display), at every kind and level, with the clock-seeded source the program
// uses (re-seeded before every problem) and with a fixed seed (the draw and
// arithmetic alone).
#include "bairo/core/drill.h"
#include "common/random_source.h"
#include "tests/support/doubles.h"

#include <QTest>

#include <memory>

class BenchBairo : public QObject {
    Q_OBJECT
private slots:
    void newProblem_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("clock");
        for (bool clock : {true, false}) {
            const char* source = clock ? "clock" : "seeded";
            QTest::addRow("lcm easy, %s", source) << 0 << 0 << clock;
            QTest::addRow("lcm hard, %s", source) << 0 << 1 << clock;
            QTest::addRow("gcd easy, %s", source) << 1 << 0 << clock;
            QTest::addRow("gcd hard, %s", source) << 1 << 1 << clock;
        }
    }
    void newProblem()
    {
        QFETCH(int, kind);
        QFETCH(int, level);
        QFETCH(bool, clock);
        std::unique_ptr<common::RandomSource> random;
        if (clock)
            random = std::make_unique<common::ClockRandomSource>();
        else
            random = std::make_unique<test_support::SeededRandomSource>(1);
        bairo::Drill drill(*random);
        drill.setKind(bairo::Kind(kind));
        drill.setLevel(bairo::Level(level));
        drill.start();
        int sum = 0;
        // A right answer judged, and the next problem drawn.
        QBENCHMARK
        {
            sum += drill.problem().answer;
            drill.returnPressed(QString::number(drill.problem().answer));
            drill.keyReleased();
        }
        QVERIFY(sum > 0);
    }
};

QTEST_GUILESS_MAIN(BenchBairo)
#include "bench_bairo.moc"
