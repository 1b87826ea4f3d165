// Judging one answer in the core, and one Return handled by the real window
// (judge, every widget updated, the sound started on a silent output).
#include "common/dialogs.h"
#include "common/feedback.h"
#include "common/random_source.h"
#include "numira/core/judge.h"
#include "numira/ui/numira0.h"
#include "numira/ui/numira1.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

class BenchNumira : public QObject {
    Q_OBJECT
private slots:
    void judge_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("remainder");
        QTest::newRow("whole") << "1000" << "1000" << false;
        QTest::newRow("decimal") << "19.98" << "19.980" << false;
        QTest::newRow("remainder") << "12...5" << " 12 ... 5" << true;
    }
    void judge()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, remainder);
        bool right = false;
        QBENCHMARK { right = numira::JudgeAnswer(stored, typed, remainder); }
        QVERIFY(right);
    }

    void returnKey()
    {
        qputenv("APP_SILENT_AUDIO", "1");
        common::ScriptedDialogs dialogs;
        common::QtSoundPlayer sound;
        common::ClockRandomSource random;
        numira::SharedState state;
        numira::TForm1 form(state, {dialogs, sound, random});
        numira::TForm3 choice(state, &form);
        form.setChoiceWindow(&choice);
        form.showChoiceWindow = [](numira::TForm3& w) {
            w.TabbedNotebook1->setCurrentIndex(0);
            w.ListBox[0]->setCurrentRow(4);
            w.Button1Click();
        };
        form.show();
        form.Button1Click();
        QBENCHMARK {
            if (form.drill().setFinished) form.Button4Click();
            form.Edit5->setText(state.store.answer(form.drill().currentNumber));
            form.Edit5KeyUp();
            form.Edit5KeyDown(Qt::Key_Return);
        }
        QCOMPARE(dialogs.count("warning"), 0);
    }
};

QTEST_MAIN(BenchNumira)
#include "bench_numira.moc"
