// SPDX-License-Identifier: GPL-3.0-or-later
// A long random session on the real main and choice windows: keys, held
// Return, every button and check box, the choice window and every dialog
// answered at random. After every event the run's state must be consistent
// and the window must show what the state says. The seed is printed; set
// APP_RANDOM_SEED to replay a run and APP_RANDOM_EVENTS to make it longer.
#include "window_fixture.h"

#include "common/worksheet_page.h"
#include "numira/core/drill.h"
#include "numira/ui/help_window.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"
#include "tests/support/random_run.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>
#include <QToolButton>

using Answer = common::Dialogs::Answer;

namespace {

const QString kShowAnswer = u"せいかいをだす"_qs;
const QString kNext = u"つぎのもんだい"_qs;
const QString kRight = u"せいかいです！"_qs;
const QString kWrong = u"ぶ～　まちがえたよ"_qs;
const QString kEnd = u"下のボタンでえらんでね☆"_qs;
const QStringList kMessages{u"もんだいをえらんでね☆"_qs, u"こたえをいれてね☆"_qs, kRight, kWrong,
                            kEnd};

// The window pair with worksheets recorded instead of printed.
struct RandomRun : WindowFixture, RandomKeys {
    explicit RandomRun(quint64 seed)
        : WindowFixture({}, seed),
          RandomKeys(seed, u"0123456789 ..-+eabcxyz１２３　こたえ"_qs, "[^a-z.+-]",
                     {u"１２"_qs, u"　"_qs, u"５．５"_qs, u"こたえ"_qs, u"１２　"_qs})
    {
        pages = [this](QPrinter&) -> std::unique_ptr<common::PageSurface> {
            recorded = std::make_unique<test_support::RecordingSurface>(QSize(3400, 4800));
            if (failJob) recorded->failOnBegin();
            return std::make_unique<ForwardingSurface>(*recorded);
        };
        answerChoice = [this](numira::ChoiceDialog& window) { answerChoiceWindow(window); };
        mascot =
            QImage(common::AssetLocator().find("mascot.bmp")).convertToFormat(QImage::Format_RGB32);
        maru =
            QImage(common::AssetLocator().find("maru1.bmp")).convertToFormat(QImage::Format_RGB32);
        batu =
            QImage(common::AssetLocator().find("batu1.bmp")).convertToFormat(QImage::Format_RGB32);
    }

    // The choice window, shown and answered as a child would: a page, an
    // item or none, rows ticked or not, then "けってい", a double click or
    // the close box. An empty table choice brings it back; after a few
    // rounds the close box ends that.
    void answerChoiceWindow(numira::ChoiceDialog& window)
    {
        const ChoiceControls c{&window};
        window.show();
        const bool giveUp = ++choiceRounds > 6;
        const int page = chance(5);
        QTabBar* tabs = c.pages()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
        QListWidget* list = page < 4 ? c.list(page) : nullptr;
        QListWidgetItem* item = nullptr;
        if (list) {
            item = list->item(chance(list->count()));
            list->scrollToItem(item);
            const QPoint at = list->visualItemRect(item).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            // Control and click again: the item is deselected and nothing is chosen.
            if (coin(10))
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
        } else {
            // Some rows ticked or unticked, or every tick taken off.
            const bool clearAll = coin(30);
            for (QCheckBox* box : window.findChildren<QCheckBox*>())
                if (clearAll ? box->isChecked() : coin(25))
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        }
        const int how = giveUp ? 0 : chance(10);
        if (how == 0) {
            window.close();
        } else if (list && how <= 3) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->visualItemRect(item).center());
        } else {
            QTest::mouseClick(c.confirmButton(), Qt::LeftButton);
        }
        if (window.isVisible()) window.close(); // a double click beside the item
    }

    // One random event; returns its name for the failure message.
    QString event()
    {
        static const QStringList typed{"5",    "abc", "0",           "150", "",  "-3", " 7 ",
                                       "１２", "10",  "99999999999", "1",   "2", "45", "3.5"};
        scriptDialogs(dialogs, typed);
        QLineEdit* edit = this->edit("answerEdit");
        const int r = chance(100);
        if (const QString name = keyEvent(edit, r); !name.isEmpty()) return name;
        if (r < 65) {
            answerRight();
            return "right answer";
        }
        if (r < 68) {
            answerWrong();
            return "wrong answer";
        }
        if (r < 71) {
            choiceRounds = 0;
            QTest::mouseClick(w("chooseButton"), Qt::LeftButton);
            return "choose";
        }
        if (r < 78) {
            QTest::mouseClick(w("showAnswerButton"), Qt::LeftButton);
            return "show answer or next";
        }
        if (r < 80) {
            QTest::mouseClick(w("startAgainButton"), Qt::LeftButton);
            return "start again";
        }
        if (r < 84) {
            QTest::mouseClick(w("fixedCountBox"), Qt::LeftButton, {}, QPoint(6, 8));
            return "fixed count";
        }
        if (r < 85) {
            QTest::mouseClick(w("helpButton"), Qt::LeftButton);
            if (form.helpWindow()) form.helpWindow()->hide();
            return "help";
        }
        if (r < 87) {
            failJob = coin(20);
            recorded.reset();
            QTest::mouseClick(w("printButton"), Qt::LeftButton);
            return "print";
        }
        if (r < 88) {
            QTest::mouseClick(w("quitButton"), Qt::LeftButton);
            if (form.isVisible()) eventProblem = "おしまい left the window open";
            form.show();
            return "quit, shown again";
        }
        typeText(edit, QStringLiteral("..."));
        return "...";
    }

    QString pictureShown() const
    {
        const QImage shown =
            w<QLabel>("picture")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        if (shown == mascot) return "mascot";
        if (shown == maru) return "maru";
        if (shown == batu) return "batu";
        return "other";
    }

    // What must hold after every event; empty when it does.
    QString inconsistency()
    {
        const numira::RunState& d = run();
        const auto& store = this->store();
        auto fail = [](const QString& what) { return what; };
        if (store.count < 0 || store.count > 100) return fail("count out of 0..100");
        runMax = std::max(runMax, int(store.count));
        if (d.currentNumber >= 1 || d.setChosen) {
            if (d.currentNumber < 1 || d.currentNumber > runMax + 1)
                return fail(
                    QString("currentNumber %1 outside 1..%2").arg(d.currentNumber).arg(runMax + 1));
            if (d.firstTryCorrect < 0 || d.firstTryCorrect >= d.currentNumber)
                return fail(QString("firstTryCorrect %1 not below currentNumber %2")
                                .arg(d.firstTryCorrect)
                                .arg(d.currentNumber));
        }
        // The running score: as last written, over the problems dealt with.
        const QString score = shows("scoreEdit").trimmed();
        if (score != u"０") {
            static const QRegularExpression digits("^[0-9]+$");
            if (!digits.match(score).hasMatch()) return fail("scoreEdit is not a number: " + score);
            const int v = score.toInt();
            if (v < 0 || v > 100) return fail("scoreEdit outside 0..100");
            if (v != common::firstTryPercent(d.firstTryCorrect, d.currentNumber) &&
                v != common::firstTryPercent(d.firstTryCorrect, d.currentNumber - 1))
                return fail(QString("scoreEdit %1 is no score of %2 right before problem %3")
                                .arg(v)
                                .arg(d.firstTryCorrect)
                                .arg(d.currentNumber));
        }
        const QString count = shows("countEdit"), title = shows("titleEdit");
        if (!(count == u"０" && store.count == 0) &&
            count.trimmed() != QString::number(store.count))
            return fail("countEdit " + count + " but count " + QString::number(store.count));
        if (title != u"もんだいめい" && title != store.title.text())
            return fail("titleEdit " + title + " but the set is " + store.title.text());
        const QString button = w<QPushButton>("showAnswerButton")->text();
        if ((button == kNext) != d.answerShown)
            return fail("show-answer button disagrees with answerShown");
        if (button != kNext && button != kShowAnswer) return fail("show-answer button text");
        const bool fixed = form.drill().countIsFixed();
        if (w<QCheckBox>("fixedCountBox")->isChecked() != fixed)
            return fail("tick disagrees with the drill");
        const int fixedCount = form.drill().fixedCount();
        if (fixed && (fixedCount < 1 || fixedCount > 100)) return fail("fixed count out of 1..100");

        const QString endText =
            QString::number(common::firstTryPercent(d.firstTryCorrect, d.currentNumber - 1)) +
            u"てんです。"_qs;
        const QString problem = shows("problemEdit");
        const bool showsProblem = shows("numberEdit") == u' ' + QString::number(d.currentNumber) &&
                                  problem == store.question(std::clamp(d.currentNumber, 1, 100));
        if (d.setChosen && !d.finished && !showsProblem)
            return fail("answering, but the problem shown is not " +
                        QString::number(d.currentNumber));
        if (d.finished) {
            if (problem.endsWith(u"てんです。"_qs) || d.answerShown) {
                if (problem != endText) return fail("end display " + problem + " not " + endText);
            } else if (!showsProblem) {
                return fail("finished, neither the end display nor the problem shown");
            }
        }

        const QString message = shows("messageLine");
        if (!kMessages.contains(message)) return fail("messageLine " + message);
        const QString picture = pictureShown();
        if (d.mascotShowing != (picture == "mascot"))
            return fail("mascotShowing but the picture is " + picture);
        if (!d.mascotShowing && !QStringList{kRight, kWrong, kEnd}.contains(message))
            return fail("feedback picture with the message " + message);
        return {};
    }

    std::unique_ptr<test_support::RecordingSurface> recorded;
    bool failJob = false;
    QString eventProblem; // what the event itself found wrong
    int choiceRounds = 0;
    int runMax = 0;
    QImage mascot, maru, batu;
};

} // namespace

class TestRandomRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void randomRun_data()
    {
        QTest::addColumn<bool>("fixedSeed");
        QTest::newRow("fixed seed") << true;
        QTest::newRow("seed from the clock or APP_RANDOM_SEED") << false;
    }
    void randomRun()
    {
        QFETCH(bool, fixedSeed);
        const auto [seed, events] = fixedSeed ? RunSettings{20261207, 5000} : startRandomRun(20000);
        if (fixedSeed) crash::install(seed);
        RandomRun run(seed);
        EventTrail trail;
        TraceFile trace;
        qsizetype sounds = 0;
        int printed = 0, choices = 0, ends = 0;
        for (int i = 0; i < events; ++i) {
            crash::event = i;
            const numira::RunState before = run.run();
            const int countBefore = run.store().count;
            const QString messageBefore = run.shows("messageLine");
            const int warningsBefore = run.dialogs.count("warning");
            const QString name = run.event();
            trail.add(name);
            QString problem = run.inconsistency();
            if (!run.eventProblem.isEmpty()) problem = run.eventProblem;

            const numira::RunState& d = run.run();
            const int warnings = run.dialogs.count("warning") - warningsBefore;
            if (name == "choose" || name == "start again") {
                if (d.currentNumber == 1 && d.firstTryCorrect == 0) run.runMax = run.store().count;
                ++choices;
            }
            if (name == "print") {
                // Printing leaves the run, the set and the message line as they were.
                if (d.currentNumber != before.currentNumber ||
                    d.firstTryCorrect != before.firstTryCorrect ||
                    d.answerShown != before.answerShown || d.finished != before.finished ||
                    run.store().count != countBefore)
                    problem = "printing changed the run";
                if (run.shows("messageLine") != messageBefore)
                    problem = "printing changed the message line";
                const bool jobFailed = run.recorded && run.failJob && countBefore > 0;
                if (warnings != (jobFailed ? 1 : 0))
                    problem = "a failed job is reported once, nothing else";
                if (run.recorded && !run.failJob && countBefore > 0) {
                    ++printed;
                    if (run.recorded->pages != 2 * ((countBefore + 19) / 20))
                        problem = "wrong page count";
                }
            } else if (warnings != 0) {
                problem = "unexpected warning: " + run.dialogs.texts("warning").last();
            }
            if (d.finished && !before.finished) ++ends;
            if (!problem.isEmpty()) {
                crash::uninstall();
                QFAIL(qPrintable(trail.failure(seed, i, name, problem)));
            }
            QStringList traced{QString::number(i), name, windowTrace(run.form),
                               run.sound.played.mid(sounds).join(u',')};
            sounds = run.sound.played.size();
            for (const auto& box : run.dialogs.shown) traced << box.kind + u':' + box.text;
            trace.write(traced);
            run.dialogs.shown.clear();
        }
        crash::uninstall();
        qInfo(
            "random run: %d events, %d sets chosen or restarted, %d runs ended, %d sheets printed",
            events, choices, ends, printed);
        // The run must have reached the states it is meant to test.
        if (events >= 2000) QVERIFY(ends > 0 && printed > 0);
    }
};

QTEST_MAIN(TestRandomRun)
#include "test_random_run.moc"
