// SPDX-License-Identifier: GPL-3.0-or-later
#include "bairo/ui/main_window.h"

#include "bairo/core/sheet.h"
#include "bairo/version.h"
#include "common/count_box.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "common/widget_builders.h"
#include "common/worksheet_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace bairo {

namespace {

const QString kFontName = QStringLiteral("ＭＳ Ｐゴシック");
const QString kCaption = QStringLiteral("バイロ Ver") + QLatin1String(kVersion);
const QString kShowAnswerCaption = QStringLiteral("正解を見る");
const QString kNextProblemCaption = QStringLiteral("次の問題");
const QString kPlaceholder = QStringLiteral("***");
const QString kTypeAndReturn = QStringLiteral("答えを入れてリターンキーを押してね");
// The box in which the child fixes the number of problems.
const common::CountBoxTexts kSetSizeBox{QStringLiteral("何問までやるかを決めます"),
                                        QStringLiteral("何問にしますか？ OK はマウスでクリック！"),
                                        QStringLiteral("10")};

// What the message line says to a wrong answer: a hint where there is one.
QString wrongMessage(Verdict verdict)
{
    switch (verdict) {
    case Verdict::kSmallerMultiple: return QStringLiteral("もっと小さい公倍数があります");
    case Verdict::kLargerDivisor: return QStringLiteral("もっと大きい公約数があります");
    default: return QStringLiteral("ぶ～　まちがえたよ");
    }
}

QFont windowFont(int pixels, bool bold = false)
{
    return common::designedFont(kFontName, pixels, bold);
}

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, colour);
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    w->setPalette(p);
}

// One item of a radio group: its object name and its text.
struct RadioItem {
    const char* name;
    QString text;
};

// A captioned group of radio items, laid out the way a radio group spreads
// its items over the height below the caption; item 0 selected.
QGroupBox* radioGroup(QWidget* parent, const char* name, QRect geometry, const QString& caption,
                      const QList<RadioItem>& items, QButtonGroup*& group)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    group = new QButtonGroup(box);
    group->setExclusive(true);
    const int textHeight = QFontMetrics(box->font()).height();
    const int room = geometry.height() - textHeight - 5;
    const int itemHeight = room / int(items.size());
    const int top = textHeight + 1 + (room % int(items.size())) / 2;
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i].text, box);
        item->setObjectName(QString::fromLatin1(items[i].name));
        item->setGeometry(8, top + i * itemHeight, geometry.width() - 10, itemHeight);
        group->addButton(item, i);
    }
    group->button(0)->setChecked(true);
    return box;
}

} // namespace

MainWindow::MainWindow(common::WindowServices services, QWidget* parent)
    : QWidget(parent), m_dialogs(services.dialogs), m_records(services.records),
      m_feedback(services.dialogs, services.sound, std::move(services.locator)),
      m_printFlow(services.dialogs, std::move(services.pages)),
      m_drill(services.random, services.records)
{
    m_feedback.setReportParent(this);
    buildControls();
    showOpeningState();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    setWindowTitle(kCaption);
    setFont(windowFont(15));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    // Fixed place and size: the controls are placed by pixel.
    move(11, 28);
    setFixedSize(598, 500);

    m_picture = common::framedPicture(this, {8, 8});
    m_picture->parentWidget()->setObjectName("picturePanel");

    const QFont message = windowFont(24, true);
    m_messageLine = common::readOnlyField(this, "messageLine", {128, 24, 441, 32}, &message);
    setTextColour(m_messageLine, Qt::darkGreen);

    m_printButton = new QPushButton(this);
    m_printButton->setObjectName("printButton");
    m_printButton->setGeometry(528, 64, 41, 41);
    m_printButton->setAutoDefault(false);
    common::showGlyph(m_printButton, QStringLiteral(":/glyphs/print.png"));

    m_problemPanel = common::raisedPanel(this, {8, 120, 561, 233});
    m_problemPanel->setObjectName("problemPanel");
    QWidget* const panel = m_problemPanel;

    const QFont big = windowFont(32, true);
    const QFont word = windowFont(32);
    using common::readOnlyField, common::textLabel;
    m_firstEdit = readOnlyField(panel, "firstEdit", {32, 24, 81, 41}, &big);
    m_andLabel = textLabel(panel, "andLabel", {120, 32}, QStringLiteral("と"), word);
    m_secondEdit = readOnlyField(panel, "secondEdit", {160, 24, 129, 41}, &big);
    m_ofLabel = textLabel(panel, "ofLabel", {296, 32}, QStringLiteral("の"), word);
    m_kindEdit = readOnlyField(panel, "kindEdit", {336, 24, 177, 41}, &big);
    m_isLabel = textLabel(panel, "isLabel", {520, 32}, QStringLiteral("は"), word);

    m_answerEdit = common::answerField(
        panel, {32, 96, 209, 41}, big, [this](int key) { answerKeyPressed(key); },
        [this] { answerKeyReleased(); });
    setTextColour(m_answerEdit, Qt::darkBlue);
    m_sentenceEndLabel =
        textLabel(panel, "sentenceEndLabel", {248, 104}, QStringLiteral("です"), word);

    m_showAnswerButton = common::pushButton(panel, "showAnswerButton", {32, 160, 129, 41},
                                            kShowAnswerCaption, windowFont(16, true));

    // The teal box behind the counters, outlined in black.
    m_counterBox = new QFrame(panel);
    m_counterBox->setObjectName("counterBox");
    m_counterBox->setGeometry(376, 88, 145, 129);
    m_counterBox->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_counterBox->setLineWidth(1);
    QPalette shape = m_counterBox->palette();
    shape.setColor(QPalette::Window, Qt::darkCyan);
    shape.setColor(QPalette::WindowText, Qt::black);
    m_counterBox->setPalette(shape);
    m_counterBox->setAutoFillBackground(true);

    const QFont counter = windowFont(19);
    const QFont unit = windowFont(19, true);
    m_countEdit = readOnlyField(panel, "countEdit", {392, 96, 65, 27}, &counter);
    m_countUnitLabel = textLabel(panel, "countUnitLabel", {464, 104}, QStringLiteral("問中"), unit);
    m_numberEdit = readOnlyField(panel, "numberEdit", {392, 136, 65, 27}, &counter);
    m_numberUnitLabel =
        textLabel(panel, "numberUnitLabel", {464, 144}, QStringLiteral("問目"), unit);
    m_scoreEdit = readOnlyField(panel, "scoreEdit", {392, 176, 65, 27}, &counter);
    m_scoreUnitLabel = textLabel(panel, "scoreUnitLabel", {464, 184}, QStringLiteral("点"), unit);

    m_kindGroup = radioGroup(
        this, "kindGroup", {16, 368, 113, 81}, QStringLiteral("問題の種類"),
        {{"lcmButton", kindWord(Kind::kLcm)}, {"gcdButton", kindWord(Kind::kGcd)}}, m_kindButtons);
    m_levelGroup = radioGroup(
        this, "levelGroup", {144, 368, 121, 81}, QStringLiteral("問題の ていど"),
        {{"easyButton", QStringLiteral("やさしい")}, {"hardButton", QStringLiteral("むずかしい")}},
        m_levelButtons);

    m_startButton = common::pushButton(this, "startButton", {296, 376, 113, 41},
                                       QStringLiteral("スタート"), windowFont(19, true));
    m_quitButton = common::pushButton(this, "quitButton", {456, 376, 97, 41},
                                      QStringLiteral("おしまい"), windowFont(19, true));

    // The missed pairs' button sits in the room below quit, so that with
    // records off the window is as it always was.
    if (&m_records != &common::nullRecords()) {
        m_reviewButton = common::pushButton(this, "reviewButton", {456, 428, 97, 33},
                                            QStringLiteral("にがて"), windowFont(16, true));
        m_reviewButton->setToolTip(QStringLiteral("まちがえた問題をもう一度やります"));
    }

    m_fixedCountBox = common::checkBox(this, "fixedCountBox", {304, 440, 137, 17},
                                       QStringLiteral("問題数を決める"), windowFont(16));

    common::nameForScreenReaders({{m_firstEdit, u"一つ目の数"},
                                  {m_secondEdit, u"二つ目の数"},
                                  {m_kindEdit, u"求めるもの"},
                                  {m_answerEdit, u"答え"},
                                  {m_numberEdit, u"何問目"},
                                  {m_scoreEdit, u"点数"},
                                  {m_messageLine, u"お知らせ"},
                                  {m_countEdit, u"問題数"},
                                  {m_picture, u"絵"},
                                  {m_printButton, u"問題を印刷"}});

    // Tab order: the radio groups, Start, quit, the answer field and its
    // button, the check box, the print button.
    QList<QWidget*> chain;
    for (QAbstractButton* b : m_kindButtons->buttons()) chain << b;
    for (QAbstractButton* b : m_levelButtons->buttons()) chain << b;
    chain << m_startButton << m_quitButton << m_answerEdit << m_showAnswerButton << m_fixedCountBox
          << m_printButton;
    if (m_reviewButton) chain << m_reviewButton;
    common::chainTabs(chain);

    connect(m_startButton, &QPushButton::clicked, this, &MainWindow::start);
    connect(m_printButton, &QPushButton::clicked, this, &MainWindow::printSheet);
    connect(m_quitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_showAnswerButton, &QPushButton::clicked, this, &MainWindow::showAnswerOrNext);
    connect(m_fixedCountBox, &QCheckBox::clicked, this, &MainWindow::toggleFixedCount);
    connect(m_kindButtons, &QButtonGroup::idClicked, this, &MainWindow::chooseKind);
    connect(m_levelButtons, &QButtonGroup::idClicked, this, &MainWindow::chooseLevel);
    if (m_reviewButton)
        connect(m_reviewButton, &QPushButton::clicked, this, &MainWindow::startReview);
}

// Before the first problem the controls show the drill's opening values.
void MainWindow::showOpeningState()
{
    for (QLineEdit* e : {m_firstEdit, m_secondEdit, m_kindEdit, m_answerEdit})
        e->setText(kPlaceholder);
    m_numberEdit->setText(QStringLiteral("0"));
    m_scoreEdit->setText(QStringLiteral("0"));
    m_messageLine->setText(QStringLiteral("問題を選んでスタートボタンを押してね"));
    m_countEdit->setText(QString::number(m_drill.count()));

    // A missing picture is reported and the start-up goes on without it.
    giveFeedback(common::Feedback::Cue::kMascot);

    m_kindGroup->setToolTip(QStringLiteral("どちらの問題をやりますか"));
    m_levelGroup->setToolTip(QStringLiteral("むずかしい問題は大きな数"));
    m_showAnswerButton->setToolTip(QStringLiteral("正解を出します"));
    m_startButton->setToolTip(QStringLiteral("左の２つを選んでからスタート"));
    m_quitButton->setToolTip(QStringLiteral("プログラムを終わります"));
    m_fixedCountBox->setToolTip(QStringLiteral("何問やるかを決めます"));
    m_printButton->setToolTip(QStringLiteral("問題を印刷します"));
}

void MainWindow::start()
{
    m_drill.start();
    showNewSet();
}

// The missed pairs come back as a set of their own; the child is told
// when none is due, or when the records cannot say.
void MainWindow::startReview()
{
    const std::optional<QList<common::ReviewProblem>> review = m_records.pairReviewSet();
    if (!review || !m_drill.startReview(*review)) {
        setMessageColour(Qt::darkGreen);
        m_messageLine->setText(review ? QStringLiteral("いまは にがてな もんだいは ないよ☆")
                                      : QStringLiteral("いまは にがてを よびだせないよ"));
        return;
    }
    showNewSet();
}

void MainWindow::showNewSet()
{
    m_countEdit->setText(QString::number(m_drill.setSize()));
    showProblem();
    setMessageColour(Qt::darkGreen);
    m_messageLine->setText(kTypeAndReturn);
}

void MainWindow::printSheet()
{
    const QString breaks = QStringLiteral("\r\n\n");
    const common::PrintTexts texts{QStringLiteral("このボタンは、問題を印刷するボタンです。") +
                                       breaks + QStringLiteral("問題数を決めてから選んでください"),
                                   QStringLiteral("このボタンは　問題を印刷するボタンです。") +
                                       breaks + QStringLiteral("印刷しますか？"),
                                   QStringLiteral("印刷中です")};
    if (m_printFlow.run(this, m_messageLine, m_drill.countIsFixed(), texts, [this] {
            return m_drill.worksheet();
        }) != common::PrintFlow::Outcome::kPrinted)
        return;
    m_drill.sheetPrinted();
    showNewSet();
}

void MainWindow::showAnswerOrNext()
{
    switch (m_drill.showAnswerOrNext()) {
    case Step::kNextProblem:
        showProblem();
        m_messageLine->setText(kTypeAndReturn);
        return;
    case Step::kEndedAtAnswer:
        m_answerEdit->setText(QString::number(m_drill.problem().answer));
        showEndOfSet();
        return;
    case Step::kAnswerShown:
        m_answerEdit->setText(QString::number(m_drill.problem().answer));
        m_showAnswerButton->setText(kNextProblemCaption);
        showMascot();
        m_messageLine->setText(kTypeAndReturn);
        return;
    }
}

void MainWindow::toggleFixedCount()
{
    if (m_drill.countIsFixed()) {
        m_drill.releaseCount();
    } else {
        const auto count = common::askProblemCount(m_dialogs, this, kSetSizeBox);
        if (!count) {
            // Nothing changes; the check mark goes back to what is in force.
            common::showCountFixed(m_fixedCountBox, m_drill.countIsFixed());
            return;
        }
        m_drill.fixCount(*count);
    }
    m_countEdit->setText(QString::number(m_drill.setSize()));
    m_answerEdit->setFocus();
}

void MainWindow::chooseKind() { m_drill.setKind(Kind(m_kindButtons->checkedId())); }

void MainWindow::chooseLevel() { m_drill.setLevel(Level(m_levelButtons->checkedId())); }

void MainWindow::showEndOfSet()
{
    // After a review the count in force is the one chosen.
    m_countEdit->setText(QString::number(m_drill.setSize()));
    setMessageColour(Qt::red);
    m_messageLine->setText(QStringLiteral("おしまいです。") + QString::number(m_drill.endScore()) +
                           QStringLiteral("点です。"));
}

void MainWindow::showProblem()
{
    const Problem& p = m_drill.problem();
    m_firstEdit->setText(QString::number(p.first));
    m_secondEdit->setText(QString::number(p.second));
    m_kindEdit->setText(kindWord(m_drill.problemKind()));
    m_answerEdit->clear();
    m_numberEdit->setText(QString::number(m_drill.state().currentNumber));
    m_scoreEdit->setText(QString::number(m_drill.score()));
    m_showAnswerButton->setText(kShowAnswerCaption);
    m_answerEdit->setFocus();
}

void MainWindow::answerKeyPressed(int key)
{
    if (m_drill.keyPressed()) {
        showMascot();
        m_messageLine->setText(kTypeAndReturn);
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    const std::optional<Judgement> judged = m_drill.returnPressed(m_answerEdit->text());
    if (!judged) return;

    // Judging, scoring and moving on happen whether or not the picture and
    // the sound could be given.
    if (judged->verdict != Verdict::kRight) {
        m_messageLine->setText(wrongMessage(judged->verdict));
        giveFeedback(common::Feedback::Cue::kWrong);
        m_scoreEdit->setText(QString::number(m_drill.score()));
        return;
    }
    if (judged->scored) m_scoreEdit->setText(QString::number(m_drill.score()));
    m_messageLine->setText(QStringLiteral("せいかいです！"));
    giveFeedback(common::Feedback::Cue::kRight);
    if (judged->finished)
        showEndOfSet();
    else
        showProblem();
}

void MainWindow::answerKeyReleased() { m_drill.keyReleased(); }

void MainWindow::giveFeedback(common::Feedback::Cue cue)
{
    // A picture that cannot be loaded leaves the box empty rather than keep
    // showing the feedback before it.
    if (!m_feedback.give(m_picture, cue)) m_picture->clear();
}

void MainWindow::showMascot() { giveFeedback(common::Feedback::Cue::kMascot); }

void MainWindow::setMessageColour(const QColor& colour) { setTextColour(m_messageLine, colour); }

} // namespace bairo
