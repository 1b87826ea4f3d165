// SPDX-License-Identifier: GPL-3.0-or-later
// How long the records window takes to show one child's page, for a
// generated child-year (tests/support/child_year.h). Three figures, median and 95th percentile of
// the runs, in the real window offscreen:
// - the page read from the file alone (the records core's part);
// - a page already read put on show, to the page painted (the widgets' part);
// - from choosing the child (after a child with nothing) to the page painted.
// Usage: bench_child_page [runs]
#include "bench/bench_scale.h"
#include "kiroku/ui/child_page_view.h"
#include "kiroku/ui/records_window.h"
#include "records/reads/child_page.h"
#include "records/store/records_store.h"
#include "tests/support/child_year.h"
#include "tests/support/doubles.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
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

// The child-year, beside a child with nothing; false when the file cannot
// be written.
bool writeYear(const QString& file)
{
    RecordsStore store;
    qint64 child = 0;
    return store.open(file) == Opening::kOpened &&
           !store.addChild(QStringLiteral("一年分"), &child) &&
           !store.addChild(QStringLiteral("記録なし")) &&
           test_support::writeChildYear(store, child, QDateTime::currentDateTimeUtc(),
                                        bench::sized(365, 3));
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
            page = common::records::readChildPage(store.connection(), child,
                                                  QDateTime::currentDateTimeUtc());
            reads.push_back(clock.nsecsElapsed() / 1e6);
            if (page.facts.isEmpty()) return 1;
        }
    }
    print("the page read from the file", reads);

    // The 九九 grid alone, with each fact's state and usual time: the
    // table's facts and the child's pace, read as the grid reads them.
    std::vector<double> grids;
    {
        RecordsStore store;
        if (!store.openExisting(file)) return 1;
        const qint64 child = store.children().front().id;
        for (int i = 0; i < runs; ++i) {
            clock.start();
            const auto table = common::records::readTableFacts(store.connection(), child,
                                                               QDateTime::currentDateTimeUtc());
            grids.push_back(clock.nsecsElapsed() / 1e6);
            if (table.isEmpty()) return 1;
        }
    }
    print("the 81-cell grid with times read from the file", grids);

    test_support::ScriptedDialogs dialogs;
    kiroku::RecordsWindow window(dialogs, file);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    window.findChild<QTabWidget*>()->setCurrentIndex(1);
    QComboBox* chooser = nullptr;
    for (auto* box : window.findChildren<QComboBox*>())
        if (box->accessibleName() == QStringLiteral("ようすを見る子ども")) chooser = box;
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
