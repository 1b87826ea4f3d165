// SPDX-License-Identifier: GPL-3.0-or-later
// One pupil of a class at a lab machine, as a drill records it: after the
// few seconds a child takes to open the drill and choose a set, sets of ten
// answers written through the records writer of a school (its own file, the
// answers sent on to the server), one every PAUSE milliseconds. At the end it
// waits until the server has them all, then prints, in microseconds, how long
// each answer took on the drill's side (the Return path's share) and from
// there to the server's commit:
//   return_us <sorted values…>
//   arrive_us <sorted values…>
// Usage: school_pupil FILE SERVICE ANSWERS PAUSE_MS   (PGSERVICEFILE names the file)
#include "records/drill/records_writer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using common::records::RecordsWriter;

namespace {

constexpr unsigned long kChoosingSeconds = 3;

void print(const char* what, std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    std::printf("%s", what);
    for (const qint64 v : values) std::printf(" %lld", static_cast<long long>(v));
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: school_pupil FILE SERVICE ANSWERS PAUSE_MS\n");
        return 2;
    }
    const int answers = args.at(3).toInt();
    const int pauseMs = args.at(4).toInt();
    RecordsWriter writer(args.at(1), args.at(2));
    writer.open([](const common::records::OpenedRecords&) {});
    writer.flush();
    common::records::RecordsSender* sender = writer.sender();
    if (!sender) {
        std::fprintf(stderr, "school_pupil: the records did not open\n");
        return 1;
    }
    // Each answer, and each set's end, is one thing sent, in order.
    std::vector<qint64> returnUs, arriveUs, postedAt;
    QElapsedTimer clock;
    clock.start();
    QThread::sleep(kChoosingSeconds);
    const auto waitFor = [&](qint64 untilNs) {
        do {
            for (qint64 k = static_cast<qint64>(arriveUs.size());
                 k < std::min<qint64>(sender->sent(), postedAt.size()); ++k)
                arriveUs.push_back((clock.nsecsElapsed() - postedAt[k]) / 1000);
            // Looked at every 2 ms: a class of pupils looking more often
            // would take the machine from the very threads it times.
            QThread::msleep(2);
        } while (clock.nsecsElapsed() < untilNs);
    };
    for (int i = 0; i < answers; ++i) {
        if (i % 10 == 0)
            writer.setStarted({QStringLiteral("numira"), QStringLiteral("table:7"), 10, {}});
        const int b = i % 10;
        common::AnswerRecord a;
        a.position = b + 1;
        a.fact = QStringLiteral("mul:7x%1").arg(b);
        a.rightAnswer = QString::number(7 * b);
        a.typed = i % 7 == 0 ? QStringLiteral("1") : a.rightAnswer;
        a.correct = i % 7 != 0;
        a.elapsedMs = 1500;
        a.answeredAt = QDateTime::currentDateTimeUtc();
        const qint64 start = clock.nsecsElapsed();
        writer.answered(a);
        returnUs.push_back((clock.nsecsElapsed() - start) / 1000);
        postedAt.push_back(start);
        if (b == 9) {
            postedAt.push_back(clock.nsecsElapsed());
            writer.setEnded(9);
        }
        waitFor(clock.nsecsElapsed() + pauseMs * 1000000LL);
    }
    writer.flush();
    if (!sender->waitUntilSent(std::chrono::seconds(60))) {
        std::fprintf(stderr, "school_pupil: the server has not taken every answer\n");
        return 1;
    }
    waitFor(clock.nsecsElapsed());
    print("return_us", returnUs);
    print("arrive_us", arriveUs);
    return 0;
}
