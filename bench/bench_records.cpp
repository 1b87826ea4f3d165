// SPDX-License-Identifier: GPL-3.0-or-later
// What the records cost. Three figures:
// - one Return handled by the real arithmetic window offscreen, records off
//   and on (a real file, one child), each Return timed on its own: median,
//   95th percentile and worst, and the 95th percentile added by recording;
// - one answer written by the store itself (what the writer thread does for
//   each Return), the same percentiles;
// - the file of a child-year: 100 answers a day for 365 days, generated.
// Usage: bench_records [returns]
#include "common/dialogs.h"
#include "common/qt_sound_player.h"
#include "common/random_source.h"
#include "common/records/records_store.h"
#include "common/records_session.h"
#include "numira/ui/choice_dialog.h"
#include "numira/ui/main_window.h"
#include "tests/support/doubles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using common::records::Opening;
using common::records::RecordsStore;

namespace {

struct Spread {
    double median = 0, p95 = 0, worst = 0;
};

Spread spread(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    return {at(0.5), at(0.95), ms.back()};
}

void print(const char* what, const Spread& s)
{
    std::printf("%-44s %8.3f %8.3f %8.3f\n", what, s.median, s.p95, s.worst);
}

// Returns in the real window, alternately right and wrong, each timed from
// the key press to the end of its handling (widgets, sound on a silent output,
// the records' queue).
std::vector<double> timeReturns(common::RecordsService& records, int returns)
{
    test_support::ScriptedDialogs dialogs;
    common::QtSoundPlayer sound;
    common::ClockRandomSource random;
    numira::MainWindow form({dialogs, sound, random, {}, common::printerPages(), records},
                            [](numira::ChoiceDialog& w) {
                                w.findChild<QTabWidget*>("pages")->setCurrentIndex(0);
                                w.findChild<QListWidget*>("additionList")->setCurrentRow(4);
                                w.findChild<QPushButton*>("confirmButton")->click();
                            });
    form.show();
    form.findChild<QPushButton*>("chooseButton")->click();
    auto* answer = form.findChild<QLineEdit*>("answerEdit");
    auto* again = form.findChild<QPushButton*>("startAgainButton");
    std::vector<double> ms;
    QElapsedTimer clock;
    for (int i = 0; i < returns; ++i) {
        if (form.drill().state().finished) again->click();
        answer->setText(i % 2 ? form.drill().answer() : QStringLiteral("-1"));
        QTest::keyRelease(answer, Qt::Key_Return);
        clock.start();
        QTest::keyPress(answer, Qt::Key_Return);
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    return ms;
}

common::AnswerRecord answerAt(const QDateTime& when, int i)
{
    common::AnswerRecord a;
    const int row = 1 + i % 9, by = 1 + (i * 7) % 9;
    a.position = 1 + i % 20;
    a.fact = QStringLiteral("mul:%1x%2").arg(row).arg(by);
    a.rightAnswer = QString::number(row * by);
    a.correct = i % 5 != 0;
    a.typed = a.correct ? a.rightAnswer : QString::number(row * by + 1);
    a.elapsedMs = 1500 + (i * 37) % 4000;
    a.answeredAt = when;
    return a;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("APP_SILENT_AUDIO", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int returns = argc > 1 ? std::atoi(argv[1]) : 2000;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("records/records.sqlite"));
    {
        RecordsStore store;
        if (store.open(file) != Opening::kOpened || store.addChild(QStringLiteral("たろう")))
            return 1;
    }

    std::printf("%-44s %8s %8s %8s\n", "ms", "median", "p95", "worst");
    const Spread off = spread(timeReturns(common::nullRecords(), returns));
    print("Return in the window, records off", off);
    test_support::ScriptedDialogs dialogs;
    common::RecordsSession session(dialogs, file);
    QWidget painted;
    session.startAfterFirstPaint(painted);
    painted.show();
    if (!QTest::qWaitForWindowExposed(&painted)) return 1;
    QCoreApplication::processEvents();
    const Spread on = spread(timeReturns(session.service(), returns));
    session.flush();
    print("Return in the window, records on", on);
    std::printf("%-44s %8.3f\n", "added at the 95th percentile", on.p95 - off.p95);

    RecordsStore store;
    store.open(file);
    QSqlQuery count(QSqlDatabase::database(store.connectionName()));
    count.exec(QStringLiteral("SELECT count(*) FROM answers"));
    count.next();
    std::printf("answers in the file after the on run: %d of %d\n", count.value(0).toInt(),
                returns);

    // One answer written, as the writer thread writes it.
    std::vector<double> writes;
    const common::SetRecord set{QStringLiteral("numira"), QStringLiteral("table:1,2,3"), 20};
    qint64 setId = 0;
    QElapsedTimer clock;
    for (int i = 0; i < returns; ++i) {
        if (i % 20 == 0) setId = 0;
        const common::AnswerRecord a = answerAt(QDateTime::currentDateTimeUtc(), i);
        clock.start();
        store.recordAnswer(1, set, setId, a);
        writes.push_back(clock.nsecsElapsed() / 1e6);
    }
    print("one answer written by the store", spread(writes));
    store.close();

    // A child-year in a file of its own.
    const QString yearFile = dir.filePath(QStringLiteral("year/records.sqlite"));
    RecordsStore year;
    qint64 child = 0;
    if (year.open(yearFile) != Opening::kOpened || year.addChild(QStringLiteral("たろう"), &child))
        return 1;
    QSqlQuery(QSqlDatabase::database(year.connectionName()))
        .exec(QStringLiteral("PRAGMA synchronous=OFF"));
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-365);
    clock.start();
    for (int day = 0; day < 365; ++day) {
        for (int s = 0; s < 5; ++s) {
            qint64 id = 0;
            for (int k = 0; k < 20; ++k) {
                const int i = day * 100 + s * 20 + k;
                year.recordAnswer(child, set, id,
                                  answerAt(start.addDays(day).addSecs(i % 3600), i));
            }
            year.endSet(id, 80, start.addDays(day));
        }
    }
    QSqlQuery(QSqlDatabase::database(year.connectionName()))
        .exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    const double seconds = clock.elapsed() / 1000.0;
    year.close();
    std::printf("child-year: 36,500 answers in %.1f s, file %.2f MB\n", seconds,
                QFileInfo(yearFile).size() / 1e6);
    return 0;
}
