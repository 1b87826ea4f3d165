// SPDX-License-Identifier: GPL-3.0-or-later
// How long the records window takes to show one child's page, for a
// child-year: 100 answers a day for 365 days at the times table from 0, about
// one in five missed at the first try (and then answered right), written as
// the drills write them. Three figures, median and 95th percentile of the
// runs, in the real window offscreen:
// - the page read from the file alone (the records core's part);
// - a page already read put on show, to the page painted (the widgets' part);
// - from choosing the child (after a child with nothing) to the page painted.
// Usage: bench_child_page [runs]
#include "common/records/child_page.h"
#include "common/records/records_store.h"
#include "kiroku/ui/child_page_view.h"
#include "kiroku/ui/records_window.h"
#include "tests/support/doubles.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using common::records::Opening;
using common::records::RecordsStore;

namespace {

void print(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    std::printf("%-50s %8.1f %8.1f\n", what, at(0.5), at(0.95));
}

// The child-year; false when the file cannot be written.
bool writeYear(const QString& file)
{
    RecordsStore store;
    qint64 child = 0;
    if (store.open(file) != Opening::kOpened || store.addChild(QStringLiteral("一年分"), &child) ||
        store.addChild(QStringLiteral("記録なし")))
        return false;
    QSqlQuery(QSqlDatabase::database(store.connectionName()))
        .exec(QStringLiteral("PRAGMA synchronous=OFF"));
    const common::SetRecord set{QStringLiteral("numira"),
                                QStringLiteral("table:1,2,3,4,5,6,7,8,9+0"), 20};
    std::mt19937 chance(7);
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-364);
    for (int day = 0; day < 365; ++day) {
        for (int s = 0; s < 5; ++s) {
            qint64 setId = 0;
            int right = 0;
            for (int k = 0; k < 20; ++k) {
                const int a = 1 + int(chance() % 9), b = int(chance() % 10);
                common::AnswerRecord answer;
                answer.position = k + 1;
                answer.fact = QStringLiteral("mul:%1x%2").arg(a).arg(b);
                answer.rightAnswer = QString::number(a * b);
                // Some facts are missed far more often than others: 2% to 38%.
                const bool miss = int(chance() % 100) < 2 + 6 * ((a * b) % 7);
                answer.typed =
                    miss ? QString::number(a * b + 1 + int(chance() % 3)) : answer.rightAnswer;
                answer.correct = !miss;
                answer.elapsedMs = 1500 + int(chance() % 4000);
                answer.answeredAt = start.addDays(day).addSecs(s * 600 + k * 20);
                if (!store.recordAnswer(child, set, setId, answer)) return false;
                if (miss) {
                    answer.attempt = 2;
                    answer.typed = answer.rightAnswer;
                    answer.correct = true;
                    answer.answeredAt = answer.answeredAt.addSecs(5);
                    if (!store.recordAnswer(child, set, setId, answer)) return false;
                }
                right += !miss;
            }
            store.endSet(setId, right * 5, start.addDays(day).addSecs(s * 600 + 500));
        }
    }
    return true;
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("records.sqlite"));
    QElapsedTimer clock;
    clock.start();
    if (!writeYear(file)) return 1;
    std::printf("child-year written in %.1f s\n", clock.elapsed() / 1000.0);
    std::printf("%-50s %8s %8s\n", "ms", "median", "p95");

    std::vector<double> reads;
    common::records::ChildPage page;
    {
        RecordsStore store;
        if (!store.openExisting(file)) return 1;
        const qint64 child = store.children().front().id;
        for (int i = 0; i < runs; ++i) {
            clock.start();
            page = common::records::readChildPage(store, child, QDateTime::currentDateTimeUtc());
            reads.push_back(clock.nsecsElapsed() / 1e6);
            if (page.facts.isEmpty()) return 1;
        }
    }
    print("the page read from the file", reads);

    test_support::ScriptedDialogs dialogs;
    kiroku::RecordsWindow window(dialogs, file);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    window.findChild<QTabWidget*>()->setCurrentIndex(1);
    auto* chooser = window.findChild<QComboBox*>();
    const int year = chooser->findText(QStringLiteral("一年分"));
    const int empty = chooser->findText(QStringLiteral("記録なし"));
    QWidget* grid = nullptr;
    for (auto* table : window.findChildren<QTableWidget*>())
        if (table->accessibleName() == QStringLiteral("九九の表")) grid = table->viewport();
    PaintCounter counter;
    grid->installEventFilter(&counter);
    // Until the grid has been painted with the new page.
    const auto painted = [&] {
        for (int spins = 0; counter.paints == 0 && spins < 100; ++spins)
            QCoreApplication::processEvents();
        return counter.paints > 0;
    };

    auto* view = static_cast<kiroku::ChildPageView*>(window.findChild<QWidget*>("childPage"));
    std::vector<double> views;
    for (int i = 0; i < runs; ++i) {
        view->showPage({});
        QCoreApplication::processEvents();
        counter.paints = 0;
        clock.start();
        view->showPage(page);
        if (!painted()) return 1;
        views.push_back(clock.nsecsElapsed() / 1e6);
    }
    print("a page read before put on show to painted", views);

    std::vector<double> shows;
    for (int i = 0; i < runs; ++i) {
        chooser->setCurrentIndex(empty);
        QCoreApplication::processEvents();
        counter.paints = 0;
        clock.start();
        chooser->setCurrentIndex(year);
        if (!painted()) return 1;
        shows.push_back(clock.nsecsElapsed() / 1e6);
    }
    print("choosing the child to the page painted", shows);
    return 0;
}
