// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/ui/main_window.h"

#include "common/count_box.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/version.h"
#include "common/widget_builders.h"
#include "numira/ui/choice_dialog.h"
#include "numira/ui/help_window.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

namespace numira {

namespace {

const QString kTypeAnswer = QStringLiteral("こたえをいれてね☆");
const QString kTypeNumber = QStringLiteral("でたかずをそのままいれてね☆");
const QString kShowAnswer = QStringLiteral("せいかいをだす");
const QString kNextProblem = QStringLiteral("つぎのもんだい");
const QString kAnswerPreset = QStringLiteral("こたえ");
const QString kHelpFile = QStringLiteral("numira.hlp");

QFont fontOf(const QString& family, int pixels, bool bold = false)
{
    return common::designedFont(family, pixels, bold);
}

QFont gothic(int pixels, bool bold = false)
{
    return fontOf(QStringLiteral("ＭＳ ゴシック"), pixels, bold);
}

// Numbers in the counter boxes stand after one blank.
QString withBlank(int n) { return u' ' + QString::number(n); }

bool isReturn(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

} // namespace

MainWindow::MainWindow(common::WindowServices services, ShowChoice showChoice, QWidget* parent)
    : QWidget(parent), m_dialogs(services.dialogs), m_records(services.records),
      m_feedback(services.dialogs, services.sound, std::move(services.locator)),
      m_printFlow(services.dialogs, std::move(services.pages)),
      m_drill(services.random, services.records),
      m_showChoice(showChoice ? std::move(showChoice) : [](ChoiceDialog& window) { window.exec(); })
{
    m_feedback.setReportParent(this);
    buildControls();
    m_messageLine->setText(QStringLiteral("もんだいをえらんでね☆"));
    m_showAnswerButton->setText(kShowAnswer);
    blankPicture();
    // Without the file the blank picture stays, and the start goes on.
    showMascot();
    m_helpButton->setToolTip(QStringLiteral("ヘルプを表示"));
    m_printButton->setToolTip(QStringLiteral("問題の印刷"));
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    setWindowTitle(QStringLiteral("ヌミラ Ver ") + QLatin1String(common::kPackageVersion));
    setFont(fontOf(QStringLiteral("System"), 13));
    // Outer size 606 x 478 at (8, 10); the client area is what the frame leaves.
    move(8, 10);
    setFixedSize(598, 451);

    // The values shown here keep the arrow pointer: nothing in them is typed.
    auto readOnlyEdit = [](QWidget* parent, const char* name, QRect place, const QString& text,
                           const QFont* font = nullptr) {
        QLineEdit* edit = common::readOnlyField(parent, name, place, font);
        edit->setText(text);
        edit->setCursor(Qt::ArrowCursor);
        return edit;
    };
    using common::raisedPanel, common::textLabel;

    m_titleEdit = readOnlyEdit(this, "titleEdit", {8, 8, 401, 26}, QStringLiteral("もんだいめい"));
    textLabel(this, "countLabel", {8, 48}, QStringLiteral("ぜんぶで"), gothic(17));
    m_countEdit = readOnlyEdit(this, "countEdit", {80, 48, 49, 26}, QStringLiteral("０"));
    textLabel(this, "countUnit", {136, 56}, QStringLiteral("もん"), gothic(17));
    m_numberEdit = readOnlyEdit(this, "numberEdit", {16, 80, 57, 26}, QStringLiteral("０"));
    textLabel(this, "numberUnit", {80, 88}, QStringLiteral("もんめ"), gothic(17));
    textLabel(this, "scoreLabel", {8, 120}, QStringLiteral("いまは"), gothic(17));
    m_scoreEdit = readOnlyEdit(this, "scoreEdit", {64, 120, 49, 26}, QStringLiteral("０"));
    textLabel(this, "scoreUnit", {120, 128}, QStringLiteral("てん"), gothic(17));

    m_picture = common::framedPicture(this, {176, 40});

    QFrame* messagePanel = raisedPanel(this, {280, 40, 289, 97});
    textLabel(messagePanel, "messageTitle", {16, 16}, QStringLiteral("コンピュータからのおしらせ"),
              gothic(18));
    const QFont message = gothic(17);
    m_messageLine =
        readOnlyEdit(messagePanel, "messageLine", {16, 48, 257, 25}, QString(), &message);

    QPalette black;
    black.setColor(QPalette::Text, Qt::black);
    black.setColor(QPalette::WindowText, Qt::black);
    QFrame* problemPanel = raisedPanel(this, {8, 152, 553, 185});
    const QFont big = gothic(64);
    m_problemEdit = readOnlyEdit(problemPanel, "problemEdit", {16, 8, 513, 72},
                                 QStringLiteral("もんだい"), &big);
    m_problemEdit->setPalette(black);
    textLabel(problemPanel, "equalsSign", {8, 104}, QStringLiteral("＝"), big)->setPalette(black);
    m_answerEdit = common::answerField(
        problemPanel, {80, 104, 457, 72}, big, [this](int key) { answerKeyPressed(key); },
        [this] { answerKeyReleased(); });
    m_answerEdit->setText(kAnswerPreset);
    m_answerEdit->setPalette(black);

    QFrame* buttonPanel = raisedPanel(this, {8, 344, 553, 81});
    using common::pushButton;
    m_chooseButton =
        pushButton(buttonPanel, "chooseButton", {8, 8, 145, 41}, QStringLiteral("もんだいえらび"),
                   fontOf(QStringLiteral("ＭＳ 明朝"), 17, true));
    m_showAnswerButton = pushButton(buttonPanel, "showAnswerButton", {168, 8, 137, 41}, kShowAnswer,
                                    gothic(17, true));
    m_startAgainButton = pushButton(buttonPanel, "startAgainButton", {320, 8, 105, 41},
                                    QStringLiteral("はじめから"), gothic(17, true));
    m_quitButton = pushButton(buttonPanel, "quitButton", {448, 8, 89, 41},
                              QStringLiteral("おしまい"), gothic(17, true));
    m_fixedCountBox = common::checkBox(buttonPanel, "fixedCountBox", {40, 56, 201, 17},
                                       QStringLiteral("もんだいすうをきめる"), gothic(17));
    common::chainTabs(
        {m_chooseButton, m_showAnswerButton, m_startAgainButton, m_quitButton, m_fixedCountBox});

    auto glyphButton = [this](const char* name, QRect place, const QString& glyph) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(place);
        common::showGlyph(b, glyph);
        return b;
    };
    m_helpButton = glyphButton("helpButton", {528, 0, 41, 41}, QStringLiteral(":/glyphs/help.png"));
    m_printButton =
        glyphButton("printButton", {456, 0, 41, 41}, QStringLiteral(":/glyphs/print.png"));

    common::nameForScreenReaders({{m_titleEdit, u"もんだいめい"},
                                  {m_countEdit, u"ぜんぶのもんだいすう"},
                                  {m_numberEdit, u"なんもんめ"},
                                  {m_problemEdit, u"もんだい"},
                                  {m_answerEdit, u"こたえ"},
                                  {m_messageLine, u"おしらせ"},
                                  {m_scoreEdit, u"てんすう"},
                                  {m_picture, u"え"},
                                  {m_helpButton, u"ヘルプ"},
                                  {m_printButton, u"いんさつ"}});

    // What each button does.
    const std::pair<QAbstractButton*, void (MainWindow::*)()> actions[] = {
        {m_chooseButton, &MainWindow::chooseProblems},
        {m_showAnswerButton, &MainWindow::showAnswerOrNext},
        {m_startAgainButton, &MainWindow::startAgain},
        {m_fixedCountBox, &MainWindow::toggleFixedCount},
        {m_helpButton, &MainWindow::showHelp},
        {m_printButton, &MainWindow::printSheet}};
    for (const auto& [button, action] : actions)
        connect(button, &QAbstractButton::clicked, this, action);
    connect(m_quitButton, &QPushButton::clicked, this, &QWidget::close);
}

void MainWindow::blankPicture()
{
    QPixmap blank(81, 81);
    blank.fill(Qt::white);
    m_picture->setPixmap(blank);
}

void MainWindow::showMascot()
{
    // A missing mascot is reported once; the drill goes on without it.
    m_feedback.give(m_picture, common::Feedback::Cue::kMascot);
}

// The warm-up has no score.
void MainWindow::showScore()
{
    m_scoreEdit->setText(m_drill.warmingUp() ? QString() : withBlank(m_drill.score()));
}

QString MainWindow::prompt() const { return m_drill.warmingUp() ? kTypeNumber : kTypeAnswer; }

// The title and count too: the warm-up's last number leads to the set's first problem.
void MainWindow::showProblem()
{
    m_titleEdit->setText(m_drill.title());
    m_countEdit->setText(withBlank(m_drill.count()));
    m_problemEdit->setText(m_drill.question());
    m_numberEdit->setText(withBlank(m_drill.state().currentNumber));
    m_answerEdit->clear();
}

void MainWindow::showEndOfRun(bool focusChooseButton)
{
    m_problemEdit->setText(QString::number(m_drill.endScore()) + QStringLiteral("てんです。"));
    m_answerEdit->setText(QStringLiteral("おしまいです。"));
    m_messageLine->setText(QStringLiteral("下のボタンでえらんでね☆"));
    if (focusChooseButton) m_chooseButton->setFocus();
    showDayOutcome();
}

// The end of the day's set: the day's mark with the right answer's picture
// and sound, and the steps passed, told on the message line. Nothing is
// said when it earned neither.
void MainWindow::showDayOutcome()
{
    const std::optional<common::DayOutcome>& outcome = m_drill.dayOutcome();
    if (!outcome) return;
    const QString message = dayMessage(*outcome);
    if (!message.isEmpty()) m_messageLine->setText(message);
    if (outcome->markEarned) m_feedback.give(m_picture, common::Feedback::Cue::kRight);
}

ChoiceDialog* MainWindow::choiceWindow()
{
    if (!m_choiceWindow) m_choiceWindow = std::make_unique<ChoiceDialog>(this);
    return m_choiceWindow.get();
}

std::optional<ChosenSet> MainWindow::askForChoice()
{
    ChoiceDialog* chooser = choiceWindow();
    // Nothing is chosen unless the child confirms.
    chooser->setResult(QDialog::Rejected);
    chooser->setReview(m_records.reviewSet());
    chooser->setDay(m_records.dayPage());
    m_showChoice(*chooser);
    return chooser->chosenSet();
}

void MainWindow::chooseProblems()
{
    if (!m_drill.chooseSet([this] { return askForChoice(); })) return;
    m_titleEdit->setText(m_drill.title());
    m_countEdit->setText(withBlank(m_drill.count()));
    m_numberEdit->setText(withBlank(m_drill.state().currentNumber));
    m_problemEdit->setText(m_drill.question());
    m_answerEdit->setText(kAnswerPreset);
    showScore();
    blankPicture();
    m_showAnswerButton->setText(kShowAnswer);
    m_messageLine->setText(prompt());
    showMascot();
    m_answerEdit->setFocus();
}

void MainWindow::showAnswerOrNext()
{
    switch (m_drill.showAnswerOrNext()) {
    case Step::kNone: return;
    case Step::kAnswerShown:
        m_answerEdit->setText(m_drill.answer());
        showMascot();
        m_messageLine->setText(prompt());
        m_showAnswerButton->setText(kNextProblem);
        showScore();
        return;
    case Step::kEndedAtAnswer:
        showMascot();
        showEndOfRun(true);
        return;
    case Step::kNextProblem:
        showProblem();
        m_showAnswerButton->setText(kShowAnswer);
        showScore();
        m_answerEdit->setFocus();
        return;
    case Step::kEnded: showEndOfRun(false); return;
    }
}

void MainWindow::startAgain()
{
    m_drill.startAgain();
    m_titleEdit->setText(m_drill.title());
    m_countEdit->setText(QString::number(m_drill.count()));
    m_numberEdit->setText(withBlank(m_drill.state().currentNumber));
    m_problemEdit->setText(m_drill.question());
    m_answerEdit->setText(kAnswerPreset);
    m_scoreEdit->setText(m_drill.warmingUp() ? QString() : QString::number(m_drill.score()));
    showMascot();
    m_showAnswerButton->setText(kShowAnswer);
    m_messageLine->setText(prompt());
    m_answerEdit->setFocus();
}

void MainWindow::toggleFixedCount()
{
    if (!m_drill.countIsFixed()) {
        const auto number = common::askProblemCount(
            m_dialogs, this,
            {QStringLiteral("なんもんやるかをきめます"),
             QStringLiteral("もんだいすうは？ OK はマウスでクリック！"), QStringLiteral("10")});
        if (number && m_drill.fixCount(*number)) m_countEdit->setText(withBlank(m_drill.count()));
    } else {
        m_drill.releaseCount();
        m_countEdit->setText(withBlank(m_drill.count()));
    }
    // The tick always shows whether a number is fixed.
    common::showCountFixed(m_fixedCountBox, m_drill.countIsFixed());
    m_answerEdit->setFocus();
}

void MainWindow::showHelp()
{
    const QString path = m_feedback.locator().find(kHelpFile);
    if (!m_help) m_help = new HelpWindow(this);
    if (path.isEmpty() || !m_help->showFile(path)) {
        m_dialogs.warning(this,
                          QStringLiteral("ヘルプファイル %1 が見つかりません。").arg(kHelpFile));
        return;
    }
    m_help->show();
    m_help->raise();
}

void MainWindow::printSheet()
{
    const QString breaks = QStringLiteral("\r\n\n");
    const common::PrintTexts texts{
        QStringLiteral("このボタンは、もんだいをいんさつするボタンです。") + breaks +
            QStringLiteral("もんだいすうをきめてからえらんでください"),
        QStringList{QStringLiteral("このボタンは　もんだいを いんさつするボタンです。"),
                    QStringLiteral("いまだされているもんだいをいんさつします。"),
                    QStringLiteral("もんだいえらびでえらびなおすとあたらしいもんだいがでます。"),
                    QStringLiteral("いんさつしますか？")}
            .join(breaks),
        QStringLiteral("いんさつちゅうです")};
    m_printFlow.run(this, m_messageLine, m_drill.countIsFixed(), texts,
                    [this] { return m_drill.worksheet(); });
}

void MainWindow::answerKeyReleased() { m_drill.keyReleased(); }

void MainWindow::answerKeyPressed(int key)
{
    if (m_drill.keyPressed()) {
        showMascot();
        m_messageLine->setText(prompt());
    }
    if (!isReturn(key)) return;
    const std::optional<Judgement> judged = m_drill.returnPressed(m_answerEdit->text());
    if (!judged) return;
    if (judged->verdict == Verdict::kWrong) {
        m_messageLine->setText(QStringLiteral("ぶ～　まちがえたよ"));
        m_feedback.give(m_picture, common::Feedback::Cue::kWrong);
        showScore();
        return;
    }
    m_messageLine->setText(QStringLiteral("せいかいです！"));
    m_feedback.give(m_picture, common::Feedback::Cue::kRight);
    showScore();
    m_showAnswerButton->setText(kShowAnswer);
    if (judged->finished) {
        showEndOfRun(true);
        return;
    }
    showProblem();
}

} // namespace numira
