// SPDX-License-Identifier: GPL-3.0-or-later
// A long random session on the real drill window: keys, held Return, every
// button, radio item and the check box, the number box and the print
// questions answered at random. After every event the drill state must be
// within its bounds and the window must show what the state says, except
// where the design leaves a display as it was (the counters after the end of
// a set). One run takes a fixed seed and is the same every time; the other's
// seed is printed: APP_RANDOM_SEED replays it, APP_RANDOM_EVENTS makes both longer.
#include "bairo/ui/main_window.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "common/worksheet_page.h"
#include "tests/support/doubles.h"
#include "tests/support/forwarding_surface.h"
#include "tests/support/random_run.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <numeric>

using namespace bairo;
using Answer = common::Dialogs::Answer;

namespace {

const QString kShowAnswer = u"正解を見る"_qs;
const QString kNext = u"次の問題"_qs;
const QString kFinished = u"おしまいです。"_qs;
const QColor kGreen(0, 128, 0), kRed(255, 0, 0);

// The window with scripted services and worksheets recorded instead of printed.
struct RandomRun : RandomKeys {
    explicit RandomRun(quint64 seed)
        : RandomKeys(seed, u"0123456789 -+abcxyz１２３　こたえ"_qs, "[^a-z+-]",
                     {u"１２"_qs, u"　"_qs, u"　１２"_qs, u"こたえ"_qs, u"－３"_qs}),
          random(seed)
    {
        // finishSet is seen by its message, even when a later key of the same
        // event (a held Return) replaces it at once.
        QObject::connect(w<QLineEdit>("messageLine"), &QLineEdit::textChanged, &window,
                         [this](const QString& text) { sawFinish |= text.startsWith(kFinished); });
        window.show();
        for (const char* name : {"mascot.bmp", "maru1.bmp", "batu1.bmp"})
            pictures[name] =
                QImage(common::AssetLocator().find(name)).convertToFormat(QImage::Format_RGB32);
    }

    template <typename T = QWidget> T* w(const char* name) const
    {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
    QString shows(const char* name) const { return w<QLineEdit>(name)->text(); }
    QLineEdit* answerField() const { return w<QLineEdit>("answerEdit"); }

    // The answer worked out from what the problem line shows.
    int shownAnswer() const
    {
        const int a = shows("firstEdit").toInt(), b = shows("secondEdit").toInt();
        return shows("kindEdit") == text::kLcmWord ? std::lcm(a, b) : std::gcd(a, b);
    }
    void retype(const QString& text)
    {
        QTest::keyClick(answerField(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(answerField(), Qt::Key_Delete);
        typeText(answerField(), text);
        QTest::keyClick(answerField(), Qt::Key_Return);
    }
    void clickItem(const char* name)
    {
        QWidget* item = w(name);
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
    }

    // One random event; returns its name for the failure message.
    QString event()
    {
        static const QStringList typed{"5",    "abc", "0",           "150", "",  "-3",  " 7 ",
                                       "１２", "10",  "99999999999", "1",   "2", "12a", "3.5"};
        scriptDialogs(dialogs, typed);
        QLineEdit* edit = answerField();
        const int r = chance(100);
        if (const QString name = keyEvent(edit, r); !name.isEmpty()) return name;
        if (r < 65) {
            retype(shows("firstEdit") == text::kPlaceholder ? u"0"_qs
                                                            : QString::number(shownAnswer()));
            return "right answer";
        }
        if (r < 69) {
            // Plainly wrong, a larger common multiple, a smaller common divisor, 0, negative.
            const int a = shows("firstEdit") == text::kPlaceholder ? 1 : shownAnswer();
            const int wrong[] = {9973, 2 * a, 1, 0, -a, a + 1};
            retype(QString::number(wrong[chance(6)]));
            return "wrong answer";
        }
        if (r < 72) {
            QTest::mouseClick(w("startButton"), Qt::LeftButton);
            return "startButton";
        }
        if (r < 80) {
            QTest::mouseClick(w("showAnswerButton"), Qt::LeftButton);
            return "showAnswerButton";
        }
        if (r < 84) {
            QTest::mouseClick(w("fixedCountBox"), Qt::LeftButton, {}, QPoint(6, 8));
            return "fixedCountBox";
        }
        if (r < 88) {
            static const char* const items[] = {"lcmButton", "gcdButton", "easyButton",
                                                "hardButton"};
            const char* item = items[chance(4)];
            clickItem(item);
            return QString("radio item ") + item;
        }
        if (r < 90) {
            failJob = coin(20);
            recorded.reset();
            QTest::mouseClick(w("printButton"), Qt::LeftButton);
            return "printButton";
        }
        if (r < 91) {
            QTest::mouseClick(w("quitButton"), Qt::LeftButton);
            if (window.isVisible()) eventProblem = "おしまい left the window open";
            window.show();
            return "quitButton, shown again";
        }
        typeText(edit, QString::number(-chance(100)));
        return "negative number";
    }

    QString pictureShown() const
    {
        const QImage shown =
            w<QLabel>("picture")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
            if (it.value() == shown) return it.key();
        return "other";
    }

    // What must hold after every event; empty when it does. After the end of
    // a set (stale) the counters numberEdit and scoreEdit keep what they showed.
    QString inconsistency(bool stale) const
    {
        const DrillState& s = window.drill();
        if (s.questionNo < 0 || s.questionNo > kMaxSetSize) return "questionNo out of 0..100";
        if (s.correctCount < 0 || s.correctCount > s.questionNo)
            return QString("correctCount %1 above questionNo %2")
                .arg(s.correctCount)
                .arg(s.questionNo);
        if (s.score < 0 || s.score > 100) return "score out of 0..100";
        if (s.setSize < 1 || s.setSize > kMaxSetSize) return "setSize out of 1..100";
        if (s.printing) return "still printing";
        if (shows("countEdit") != QString::number(s.setSize))
            return "countEdit disagrees with setSize";
        if (w<QCheckBox>("fixedCountBox")->isChecked() != s.setSizeFixed)
            return "tick disagrees with setSizeFixed";
        if (s.problemKind != (w<QRadioButton>("gcdButton")->isChecked() ? 1 : 0))
            return "problemKind disagrees with the radio group";
        if (s.problemLevel != (w<QRadioButton>("hardButton")->isChecked() ? 1 : 0))
            return "problemLevel disagrees with the radio group";

        static const QRegularExpression number("^[0-9]+$");
        for (const char* name : {"numberEdit", "scoreEdit"}) {
            if (!number.match(shows(name)).hasMatch() || shows(name).toInt() > 100)
                return QString(name) + " shows " + shows(name);
        }
        if (!stale && shows("numberEdit") != QString::number(s.questionNo))
            return "numberEdit " + shows("numberEdit") + " but questionNo " +
                   QString::number(s.questionNo);
        if (!stale && shows("scoreEdit") != QString::number(s.score))
            return "scoreEdit " + shows("scoreEdit") + " but score " + QString::number(s.score);

        const QString caption = w<QPushButton>("showAnswerButton")->text();
        if (caption != kShowAnswer && caption != kNext) return "showAnswerButton reads " + caption;
        if (caption == kNext && !s.answerShown)
            return "showAnswerButton reads 次の問題 without a shown answer";

        if (shows("firstEdit") == text::kPlaceholder) {
            if (s.questionNo != 0)
                return "no problem shown, yet questionNo " + QString::number(s.questionNo);
        } else {
            if (shows("firstEdit") != QString::number(s.currentProblem.first) ||
                shows("secondEdit") != QString::number(s.currentProblem.second))
                return "the problem line does not show the current problem";
            if (shows("kindEdit") != text::kLcmWord && shows("kindEdit") != text::kGcdWord)
                return "kindEdit " + shows("kindEdit");
            if (s.currentProblem.answer != shownAnswer())
                return "the answer is not that of the problem shown";
        }

        const QString message = shows("messageLine");
        const QStringList messages{text::kChooseAndStart,  text::kTypeAndReturn, text::kRight,
                                   text::kSmallerMultiple, text::kLargerDivisor, text::kWrong};
        if (message.startsWith(kFinished)) {
            if (message != kFinished + QString::number(s.score) + text::kFinishedAfter)
                return "end message " + message + " but score " + QString::number(s.score);
        } else if (!messages.contains(message)) {
            return "messageLine " + message;
        }
        const QColor colour = w<QLineEdit>("messageLine")->palette().color(QPalette::Text);
        if (colour != kGreen && colour != kRed) return "messageLine neither green nor red";

        const QString picture = pictureShown();
        if (s.mascotShown != (picture == "mascot.bmp"))
            return "mascotShown but the picture is " + picture;
        return {};
    }

    test_support::ScriptedDialogs dialogs;
    test_support::RecordingSoundPlayer sound;
    test_support::SeededRandomSource random;
    std::unique_ptr<test_support::RecordingSurface> recorded;
    bool failJob = false;
    MainWindow window{
        {dialogs, sound, random, {}, [this](QPrinter&) -> std::unique_ptr<common::PageSurface> {
             recorded = std::make_unique<test_support::RecordingSurface>(QSize(3400, 4800));
             if (failJob) recorded->failOnBegin();
             return std::make_unique<ForwardingSurface>(*recorded);
         }}};
    QString eventProblem; // what the event itself found wrong
    bool sawFinish = false;
    QMap<QString, QImage> pictures;
};

} // namespace

class TestRandomRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        common::installJapaneseFonts();
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void randomRun_data()
    {
        QTest::addColumn<quint64>("fixedSeed");
        QTest::newRow("clock-seeded") << quint64(0);
        QTest::newRow("fixed seed") << quint64(2024);
    }
    void randomRun()
    {
        QFETCH(quint64, fixedSeed);
        const auto [seed, events] =
            fixedSeed ? RunSettings{fixedSeed, runEvents(10000)} : startRandomRun(10000);
        if (fixedSeed) crash::install(seed);
        RandomRun run(seed);
        EventTrail trail;
        TraceFile trace;
        qsizetype sounds = 0;
        bool stale = false;
        int printed = 0, finished = 0, hints = 0;
        for (int i = 0; i < events; ++i) {
            crash::event = i;
            const DrillState before = run.window.drill();
            const QString messageBefore = run.shows("messageLine");
            const int reseedsBefore = run.random.reseeds;
            const int warningsBefore = run.dialogs.count("warning");
            run.sawFinish = false;
            const QString name = run.event();
            trail.add(name);

            const DrillState& s = run.window.drill();
            const QString message = run.shows("messageLine");
            const int warnings = run.dialogs.count("warning") - warningsBefore;
            QString problem = run.eventProblem;
            bool newProblem = false;
            if (name.startsWith("printButton")) {
                // A printed sheet restarts the drill; anything else leaves it as it was.
                const bool jobFailed = run.recorded && run.failJob;
                const bool printedNow = run.recorded && !run.failJob;
                if (warnings != (jobFailed ? 1 : 0))
                    problem = "a failed job is reported once, nothing else";
                if (printedNow) {
                    ++printed;
                    newProblem = true;
                    if (run.recorded->pages != 2 * ((before.setSize + 19) / 20))
                        problem = "wrong page count";
                    if (s.questionNo != 1 || s.correctCount != 0 || s.score != 0 ||
                        message != text::kTypeAndReturn)
                        problem = "no restart after a printed sheet";
                } else if (s != before || message != messageBefore) {
                    problem = "an unprinted sheet changed the drill";
                }
            } else {
                newProblem = run.random.reseeds != reseedsBefore;
                if (warnings != 0)
                    problem = "unexpected warning: " + run.dialogs.texts("warning").last();
                // Only the exact pair before is refused; Start forgets it.
                if (newProblem && !name.startsWith("startButton") &&
                    before.currentProblem.first != 0 &&
                    s.currentProblem.first == before.currentProblem.first &&
                    s.currentProblem.second == before.currentProblem.second)
                    problem = "a problem repeated at once";
            }
            // An event either ends the set or shows a new problem, never both.
            if (run.sawFinish) {
                stale = true;
                ++finished;
            } else if (newProblem) {
                stale = false;
            }
            if (message == text::kSmallerMultiple || message == text::kLargerDivisor) ++hints;
            if (problem.isEmpty()) problem = run.inconsistency(stale);
            if (!problem.isEmpty()) {
                crash::uninstall();
                QFAIL(qPrintable(trail.failure(seed, i, name, problem)));
            }
            QStringList traced{QString::number(i), name, windowTrace(run.window),
                               run.sound.played.mid(sounds).join(u',')};
            sounds = run.sound.played.size();
            for (const auto& box : run.dialogs.shown) traced << box.kind + u':' + box.text;
            if (name.startsWith("printButton") && run.recorded)
                for (const test_support::PageOp& op : run.recorded->ops)
                    traced << QString("%1 %2,%3 %4")
                                  .arg(op.kind)
                                  .arg(op.at.x())
                                  .arg(op.at.y())
                                  .arg(op.text);
            trace.write(traced);
            run.dialogs.shown.clear();
        }
        crash::uninstall();
        qInfo("random run: %d events, %d sets finished, %d sheets printed, %d hints given", events,
              finished, printed, hints);
        // The run must have reached the states it is meant to test.
        if (events >= 2000) QVERIFY(finished > 0 && printed > 0 && hints > 0);
    }
};

QTEST_MAIN(TestRandomRun)
#include "test_random_run.moc"
