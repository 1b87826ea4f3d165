// SPDX-License-Identifier: GPL-3.0-or-later
// What the records cost. Three figures:
// - one Return handled by the real arithmetic window offscreen, records off
//   and on (a real file, one child), each Return timed on its own: median,
//   95th percentile and worst, and the 95th percentile added by recording;
// - one answer written by the store itself (what the writer thread does for
//   each Return), the same percentiles;
// - the file of a child-year: 100 answers a day for 365 days, generated;
// - with a school's server (the private PostgreSQL cluster of the test
//   command, APP_TEST_PG*): the Return in the window while 35 pupils'
//   processes answer at once, each sending to the server; and how long
//   their answers take from the Return to the server's commit.
// Usage: bench_records [returns] [pupils' pause between answers, ms: 250]
#include "bench/bench_scale.h"
#include "common/dialogs.h"
#include "common/qt_sound_player.h"
#include "common/random_source.h"
#include "numira/ui/choice_dialog.h"
#include "numira/ui/main_window.h"
#include "records/drill/records_session.h"
#include "records/store/records_store.h"
#include "tests/support/doubles.h"
#include "tests/support/school_server.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
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

const int kPupilAnswers = bench::sized(120, 5);

// The Return in the window of a pupil whose answers go to a school's
// server, while `pupils` more pupils' processes answer at once; then how
// long their answers took to reach the server.
int timeSchool(const QString& folder, int returns, int pupils, int pauseMs)
{
    school::SchoolDatabase school(QStringLiteral("bench"), pupils + 1);
    if (!school.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(school.error()));
        return 1;
    }
    qputenv("PGSERVICEFILE", school.serviceFile().toUtf8());
    std::vector<std::unique_ptr<QProcess>> others;
    for (int n = 2; n <= pupils + 1; ++n) {
        auto& p = others.emplace_back(std::make_unique<QProcess>());
        p->start(QStringLiteral(APP_SCHOOL_PUPIL),
                 {folder + QStringLiteral("/pupil%1.sqlite").arg(n), school.service(n),
                  QString::number(kPupilAnswers), QString::number(pauseMs)});
    }
    for (auto& p : others) p->waitForStarted();
    test_support::ScriptedDialogs dialogs;
    common::RecordsSession session(dialogs, folder + QStringLiteral("/pupil1.sqlite"),
                                   school.service(1));
    QWidget painted;
    session.startAfterFirstPaint(painted);
    painted.show();
    if (!QTest::qWaitForWindowExposed(&painted)) return 1;
    QCoreApplication::processEvents();
    session.flush();
    // Timed once the others are past their start and answering.
    QTest::qWait(bench::sized(3000, 300));
    char what[64];
    std::snprintf(what, sizeof what, "Return, school's server, %d pupils, %d ms", pupils, pauseMs);
    print(what, spread(timeReturns(session.service(), returns)));
    session.flush();
    std::vector<double> arrive;
    for (auto& p : others) {
        if (!p->waitForFinished(300000) || p->exitCode() != 0) {
            std::fprintf(stderr, "a pupil failed: %s\n", p->readAllStandardError().constData());
            return 1;
        }
        for (const QByteArray& line : p->readAllStandardOutput().split('\n'))
            if (line.startsWith("arrive_us "))
                for (const QByteArray& v : line.mid(10).split(' '))
                    arrive.push_back(v.toLongLong() / 1e3);
    }
    print("from a pupil's Return to the server's commit", spread(arrive));
    std::printf("answers on the server: %lld of %d from the other pupils\n",
                static_cast<long long>(school.count(
                    QStringLiteral("SELECT count(*) FROM answers a JOIN sets s ON s.id = a.set_id "
                                   "JOIN children c ON c.id = s.child_id WHERE c.login <> ?"),
                    {school.role(1)})),
                pupils * kPupilAnswers);
    return 0;
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
    const common::SetRecord set{QStringLiteral("numira"), QStringLiteral("table:1,2,3"), 20, {}};
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
    const int days = bench::sized(365, 3);
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-days);
    clock.start();
    for (int day = 0; day < days; ++day) {
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
    std::printf("child-year: %d answers in %.1f s, file %.2f MB\n", days * 100, seconds,
                QFileInfo(yearFile).size() / 1e6);
    if (!school::missingServer().isEmpty()) {
        std::printf("no school's server (run under scripts/test_server.sh for it)\n");
        return 0;
    }
    return timeSchool(dir.path(), returns, bench::sized(35, 2),
                      argc > 2 ? std::atoi(argv[2]) : 250);
}
