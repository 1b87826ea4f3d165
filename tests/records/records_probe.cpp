// SPDX-License-Identifier: GPL-3.0-or-later
// A drill core answering as fast as it can into the records, as a process of
// its own, for the tests that kill it or run two at once:
//   records_probe FILE numira|bairo ANSWERS [wait|hang|full]
// It answers ANSWERS problems right, waits until they are written, prints
// "written N" and exits; with "wait" it then waits to be killed, with "hang"
// it keeps answering until killed. With "full" its files may not grow past
// 64 KiB, as on a full disk.
#include "bairo/core/drill.h"
#include "numira/core/drill.h"
#include "records/drill/records_writer.h"
#include "tests/support/doubles.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <future>

#include <sys/resource.h>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) return 2;
    const QString then = args.value(4);
    const bool hang = then == QLatin1String("hang");
    const int answers = args[3].toInt();

    if (then == QLatin1String("full")) {
        const rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
    }
    common::records::RecordsWriter writer(args[1]);
    std::promise<bool> opened;
    writer.open([&](const common::records::OpenedRecords& o) {
        opened.set_value(o.opening == common::records::Opening::kOpened);
    });
    if (!opened.get_future().get()) return 1;

    test_support::SeededRandomSource random(7);
    std::function<void()> answerOne;
    numira::Drill numiraDrill(random, writer);
    bairo::Drill bairoDrill(random, writer);
    if (args[2] == QLatin1String("numira")) {
        numira::Choice table;
        table.category = numira::kMultiplicationTable;
        table.tableRows.rows.fill(true);
        numiraDrill.chooseSet([&] { return std::optional<numira::ChosenSet>({table, "九九"}); });
        answerOne = [&] {
            numiraDrill.keyReleased();
            if (numiraDrill.returnPressed(numiraDrill.answer())->finished) numiraDrill.startAgain();
        };
    } else {
        bairoDrill.start();
        answerOne = [&] {
            bairoDrill.keyReleased();
            bairoDrill.returnPressed(QString::number(bairoDrill.problem().answer));
        };
    }
    for (int i = 0; i < answers; ++i) answerOne();
    writer.flush();
    std::printf("written %d\n", answers);
    std::fflush(stdout);
    // Killed in the middle of a stream of writes.
    for (int i = 1; hang; ++i) {
        answerOne();
        if (i % 10 == 0) writer.flush();
    }
    while (then == QLatin1String("wait")) pause();
    return 0;
}
