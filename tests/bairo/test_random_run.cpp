// A long random session on the real drill window: keys, held Return, every
// button, radio item and the check box, the number box and the print
// questions answered at random. After every event the drill state must be
// within its bounds and the window must show what the state says, except
// where the design leaves a display as it was (the counters after the end of
// a set). The seed is printed; set APP_RANDOM_SEED to replay a run and
// APP_RANDOM_EVENTS to make it longer.
#include "bairo/ui/bairo1.h"
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "common/worksheet_page.h"
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

bool sameDrill(const DrillState& a, const DrillState& b)
{
    return a.ProblemKind == b.ProblemKind && a.ProblemLevel == b.ProblemLevel &&
           a.SetSize == b.SetSize && a.SetSizeFixed == b.SetSizeFixed &&
           a.QuestionNo == b.QuestionNo && a.CorrectCount == b.CorrectCount && a.Score == b.Score &&
           a.CurrentProblem.First == b.CurrentProblem.First &&
           a.CurrentProblem.Second == b.CurrentProblem.Second &&
           a.CurrentProblem.Answer == b.CurrentProblem.Answer &&
           a.PreviousFirst == b.PreviousFirst && a.PreviousSecond == b.PreviousSecond &&
           a.AnswerShown == b.AnswerShown && a.FirstTry == b.FirstTry &&
           a.MascotShown == b.MascotShown && a.Printing == b.Printing;
}

// The window with scripted services and worksheets recorded instead of printed.
struct RandomRun : RandomKeys {
    explicit RandomRun(quint64 seed)
        : RandomKeys(seed, u"0123456789 -+abcxyz１２３　こたえ"_qs, "[^a-z+-]",
                     {u"１２"_qs, u"　"_qs, u"　１２"_qs, u"こたえ"_qs, u"－３"_qs}),
          random(seed)
    {
        form.makePageSurface = [this](QPrinter&) -> std::unique_ptr<common::PageSurface> {
            recorded = std::make_unique<common::RecordingSurface>(QSize(3400, 4800));
            if (failJob) recorded->failOnBegin();
            return std::make_unique<ForwardingSurface>(*recorded);
        };
        // FinishSet is seen by its message, even when a later key of the same
        // event (a held Return) replaces it at once.
        QObject::connect(w<QLineEdit>("Edit7"), &QLineEdit::textChanged, &form,
                         [this](const QString& text) { sawFinish |= text.startsWith(kFinished); });
        form.show();
        for (const char* name : {"mascot.bmp", "maru1.bmp", "batu1.bmp"})
            pictures[name] = QImage(common::AssetLocator().find(name)).convertToFormat(QImage::Format_RGB32);
    }

    template <typename T = QWidget> T* w(const char* name) const
    {
        return form.findChild<T*>(QString::fromLatin1(name));
    }
    QString shows(const char* name) const { return w<QLineEdit>(name)->text(); }
    QLineEdit* answerField() const { return w<QLineEdit>("Edit4"); }

    // The answer worked out from what the problem line shows.
    int shownAnswer() const
    {
        const int a = shows("Edit1").toInt(), b = shows("Edit2").toInt();
        return shows("Edit3") == text::LcmWord ? std::lcm(a, b) : std::gcd(a, b);
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
        static const QStringList typed{"5", "abc", "0", "150", "", "-3", " 7 ", "１２", "10",
                                       "99999999999", "1", "2", "12a", "3.5"};
        scriptDialogs(dialogs, typed);
        QLineEdit* edit = answerField();
        const int r = chance(100);
        if (const QString name = keyEvent(edit, r); !name.isEmpty()) return name;
        if (r < 65) {
            retype(shows("Edit1") == text::Placeholder ? u"0"_qs : QString::number(shownAnswer()));
            return "right answer";
        }
        if (r < 69) {
            // Plainly wrong, a larger common multiple, a smaller common divisor, 0, negative.
            const int a = shows("Edit1") == text::Placeholder ? 1 : shownAnswer();
            const int wrong[] = {9973, 2 * a, 1, 0, -a, a + 1};
            retype(QString::number(wrong[chance(6)]));
            return "wrong answer";
        }
        if (r < 72) {
            QTest::mouseClick(w("Button1"), Qt::LeftButton);
            return "Button1 (start)";
        }
        if (r < 80) {
            QTest::mouseClick(w("Button3"), Qt::LeftButton);
            return "Button3";
        }
        if (r < 84) {
            QTest::mouseClick(w("CheckBox1"), Qt::LeftButton, {}, QPoint(6, 8));
            return "CheckBox1";
        }
        if (r < 88) {
            static const char* const items[] = {"RadioGroup10", "RadioGroup11", "RadioGroup20",
                                                "RadioGroup21"};
            const char* item = items[chance(4)];
            clickItem(item);
            return QString("radio item ") + item;
        }
        if (r < 90) {
            failJob = coin(20);
            recorded.reset();
            QTest::mouseClick(w("BitBtn1"), Qt::LeftButton);
            return "BitBtn1 (print)";
        }
        if (r < 91) {
            QTest::mouseClick(w("Button2"), Qt::LeftButton);
            if (form.isVisible()) eventProblem = "おしまい left the window open";
            form.show();
            return "Button2 (quit), shown again";
        }
        typeText(edit, QString::number(-chance(100)));
        return "negative number";
    }

    QString pictureShown() const
    {
        const QImage shown = w<QLabel>("Image1")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
            if (it.value() == shown) return it.key();
        return "other";
    }

    // What must hold after every event; empty when it does. After the end of
    // a set (stale) the counters Edit5 and Edit6 keep what they showed.
    QString inconsistency(bool stale) const
    {
        const DrillState& s = form.drill();
        if (s.QuestionNo < 0 || s.QuestionNo > MaxSetSize) return "QuestionNo out of 0..100";
        if (s.CorrectCount < 0 || s.CorrectCount > s.QuestionNo)
            return QString("CorrectCount %1 above QuestionNo %2").arg(s.CorrectCount).arg(s.QuestionNo);
        if (s.Score < 0 || s.Score > 100) return "Score out of 0..100";
        if (s.SetSize < 1 || s.SetSize > MaxSetSize) return "SetSize out of 1..100";
        if (s.Printing) return "still printing";
        if (shows("Edit8") != QString::number(s.SetSize)) return "Edit8 disagrees with SetSize";
        if (w<QCheckBox>("CheckBox1")->isChecked() != s.SetSizeFixed) return "tick disagrees with SetSizeFixed";
        if (s.ProblemKind != (w<QRadioButton>("RadioGroup11")->isChecked() ? 1 : 0))
            return "ProblemKind disagrees with the radio group";
        if (s.ProblemLevel != (w<QRadioButton>("RadioGroup21")->isChecked() ? 1 : 0))
            return "ProblemLevel disagrees with the radio group";

        static const QRegularExpression number("^[0-9]+$");
        for (const char* name : {"Edit5", "Edit6"}) {
            if (!number.match(shows(name)).hasMatch() || shows(name).toInt() > 100)
                return QString(name) + " shows " + shows(name);
        }
        if (!stale && shows("Edit5") != QString::number(s.QuestionNo))
            return "Edit5 " + shows("Edit5") + " but QuestionNo " + QString::number(s.QuestionNo);
        if (!stale && shows("Edit6") != QString::number(s.Score))
            return "Edit6 " + shows("Edit6") + " but Score " + QString::number(s.Score);

        const QString caption = w<QPushButton>("Button3")->text();
        if (caption != kShowAnswer && caption != kNext) return "Button3 reads " + caption;
        if (caption == kNext && !s.AnswerShown) return "Button3 reads 次の問題 without a shown answer";

        if (shows("Edit1") == text::Placeholder) {
            if (s.QuestionNo != 0) return "no problem shown, yet QuestionNo " + QString::number(s.QuestionNo);
        } else {
            if (shows("Edit1") != QString::number(s.CurrentProblem.First) ||
                shows("Edit2") != QString::number(s.CurrentProblem.Second))
                return "the problem line does not show the current problem";
            if (shows("Edit3") != text::LcmWord && shows("Edit3") != text::GcdWord)
                return "Edit3 " + shows("Edit3");
            if (s.CurrentProblem.Answer != shownAnswer()) return "the answer is not that of the problem shown";
        }

        const QString message = shows("Edit7");
        const QStringList messages{text::ChooseAndStart, text::TypeAndReturn, text::Right,
                                   text::SmallerMultiple, text::LargerDivisor, text::Wrong};
        if (message.startsWith(kFinished)) {
            if (message != kFinished + QString::number(s.Score) + text::FinishedAfter)
                return "end message " + message + " but Score " + QString::number(s.Score);
        } else if (!messages.contains(message)) {
            return "Edit7 " + message;
        }
        const QColor colour = w<QLineEdit>("Edit7")->palette().color(QPalette::Text);
        if (colour != kGreen && colour != kRed) return "Edit7 neither green nor red";

        const QString picture = pictureShown();
        if (s.MascotShown != (picture == "mascot.bmp")) return "MascotShown but the picture is " + picture;
        return {};
    }

    common::ScriptedDialogs dialogs;
    common::RecordingSoundPlayer sound;
    common::SeededRandomSource random;
    TForm1 form{dialogs, sound, random};
    std::unique_ptr<common::RecordingSurface> recorded;
    bool failJob = false;
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

    void randomRun()
    {
        const auto [seed, events] = startRandomRun(20000);
        RandomRun run(seed);
        EventTrail trail;
        bool stale = false;
        int printed = 0, finished = 0, hints = 0;
        for (int i = 0; i < events; ++i) {
            crash::event = i;
            const DrillState before = run.form.drill();
            const QString messageBefore = run.shows("Edit7");
            const int reseedsBefore = run.random.reseeds;
            const int warningsBefore = run.dialogs.count("warning");
            run.sawFinish = false;
            const QString name = run.event();
            trail.add(name);

            const DrillState& s = run.form.drill();
            const QString message = run.shows("Edit7");
            const int warnings = run.dialogs.count("warning") - warningsBefore;
            QString problem = run.eventProblem;
            bool newProblem = false;
            if (name.startsWith("BitBtn1")) {
                // A printed sheet restarts the drill; anything else leaves it as it was.
                const bool jobFailed = run.recorded && run.failJob;
                const bool printedNow = run.recorded && !run.failJob;
                if (warnings != (jobFailed ? 1 : 0)) problem = "a failed job is reported once, nothing else";
                if (printedNow) {
                    ++printed;
                    newProblem = true;
                    if (run.recorded->pages != 2 * ((before.SetSize + 19) / 20)) problem = "wrong page count";
                    if (s.QuestionNo != 1 || s.CorrectCount != 0 || s.Score != 0 ||
                        message != text::TypeAndReturn)
                        problem = "no restart after a printed sheet";
                } else if (!sameDrill(s, before) || message != messageBefore) {
                    problem = "an unprinted sheet changed the drill";
                }
            } else {
                newProblem = run.random.reseeds != reseedsBefore;
                if (warnings != 0) problem = "unexpected warning: " + run.dialogs.texts("warning").last();
                // Only the exact pair before is refused; Start forgets it.
                if (newProblem && !name.startsWith("Button1") && before.CurrentProblem.First != 0 &&
                    s.CurrentProblem.First == before.CurrentProblem.First &&
                    s.CurrentProblem.Second == before.CurrentProblem.Second)
                    problem = "a problem repeated at once";
            }
            // An event either ends the set or shows a new problem, never both.
            if (run.sawFinish) {
                stale = true;
                ++finished;
            } else if (newProblem) {
                stale = false;
            }
            if (message == text::SmallerMultiple || message == text::LargerDivisor) ++hints;
            if (problem.isEmpty()) problem = run.inconsistency(stale);
            if (!problem.isEmpty()) {
                crash::uninstall();
                QFAIL(qPrintable(trail.failure(seed, i, name, problem)));
            }
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
