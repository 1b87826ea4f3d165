#include "numira/ui/numira1.h"

#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/whole_number.h"
#include "common/worksheet_page.h"
#include "numira/core/catalogue.h"
#include "numira/core/judge.h"
#include "numira/ui/help_window.h"
#include "numira/ui/numira0.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

namespace numira {

namespace {

const QString kTypeAnswer = QStringLiteral("こたえをいれてね☆");
const QString kShowAnswer = QStringLiteral("せいかいをだす");
const QString kNextProblem = QStringLiteral("つぎのもんだい");

QFont fontOf(const QString& family, int pixels, bool bold = false)
{
    return common::designedFont(family, pixels, bold);
}

QFont gothic(int pixels, bool bold = false) { return fontOf(QStringLiteral("ＭＳ ゴシック"), pixels, bold); }

// Numbers in the counter boxes stand after one blank.
QString withBlank(int n) { return u' ' + QString::number(n); }

bool isReturn(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

} // namespace

TForm1::TForm1(SharedState& state, Services services, QWidget* parent)
    : QWidget(parent), m_state(state), m_services(services),
      m_feedback(services.dialogs, services.sound, services.locator),
      m_generators(services.random)
{
    showChoiceWindow = [](TForm3& window) { window.exec(); };
    makePageSurface = [](QPrinter& printer) -> std::unique_ptr<common::PageSurface> {
        return std::make_unique<common::PrinterSurface>(printer);
    };
    m_feedback.setReportParent(this);
    buildControls();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildControls()
{
    setWindowTitle(QStringLiteral("ヌミラ Ver 3.41"));
    setFont(fontOf(QStringLiteral("System"), 13));
    // Outer size 606 x 478 at (8, 10); the client area is what the frame leaves.
    move(8, 10);
    setFixedSize(598, 451);

    // Fonts are set before texts: a text is laid out again with each font.
    auto readOnlyEdit = [](QWidget* parent, QRect place, const QString& text, const QFont* font = nullptr) {
        auto* edit = new QLineEdit(parent);
        if (font) edit->setFont(*font);
        edit->setText(text);
        edit->setGeometry(place);
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus); // no tab stop
        edit->setCursor(Qt::ArrowCursor);
        return edit;
    };
    auto label = [](QWidget* parent, QPoint at, const QString& text, const QFont& font) {
        auto* l = new QLabel(parent);
        l->setFont(font);
        l->setText(text);
        l->move(at);
        l->adjustSize();
        return l;
    };
    auto panel = [](QWidget* parent, QRect place) {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
        frame->setGeometry(place);
        return frame;
    };

    Edit1 = readOnlyEdit(this, {8, 8, 401, 26}, QStringLiteral("もんだいめい"));
    Label1 = label(this, {8, 48}, QStringLiteral("ぜんぶで"), gothic(17));
    Edit2 = readOnlyEdit(this, {80, 48, 49, 26}, QStringLiteral("０"));
    Label2 = label(this, {136, 56}, QStringLiteral("もん"), gothic(17));
    Edit3 = readOnlyEdit(this, {16, 80, 57, 26}, QStringLiteral("０"));
    Label3 = label(this, {80, 88}, QStringLiteral("もんめ"), gothic(17));
    Label4 = label(this, {8, 120}, QStringLiteral("いまは"), gothic(17));
    Edit7 = readOnlyEdit(this, {64, 120, 49, 26}, QStringLiteral("０"));
    Label5 = label(this, {120, 128}, QStringLiteral("てん"), gothic(17));

    Panel4 = panel(this, {176, 40, 97, 97});
    Image1 = new QLabel(Panel4);
    Image1->setGeometry(8, 8, 81, 81);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Panel3 = panel(this, {280, 40, 289, 97});
    Label6 = label(Panel3, {16, 16}, QStringLiteral("コンピュータからのおしらせ"), gothic(18));
    const QFont message = gothic(17);
    Edit6 = readOnlyEdit(Panel3, {16, 48, 257, 25}, QString(), &message);

    QPalette black;
    black.setColor(QPalette::Text, Qt::black);
    black.setColor(QPalette::WindowText, Qt::black);
    Panel1 = panel(this, {8, 152, 553, 185});
    const QFont big = gothic(64);
    Edit4 = readOnlyEdit(Panel1, {16, 8, 513, 72}, QStringLiteral("もんだい"), &big);
    Edit4->setPalette(black);
    Label8 = label(Panel1, {8, 104}, QStringLiteral("＝"), big);
    Label8->setPalette(black);
    Edit5 = new QLineEdit(Panel1);
    Edit5->setFont(big);
    Edit5->setText(QStringLiteral("こたえ"));
    Edit5->setGeometry(80, 104, 457, 72);
    Edit5->setPalette(black);
    // Digits must arrive as ASCII whatever the keyboard's input mode.
    Edit5->setAttribute(Qt::WA_InputMethodEnabled, false);
    Edit5->installEventFilter(this);

    Panel2 = panel(this, {8, 344, 553, 81});
    auto button = [this](QRect place, const QString& text, const QFont& font) {
        auto* b = new QPushButton(Panel2);
        b->setFont(font);
        b->setText(text);
        b->setGeometry(place);
        return b;
    };
    Button1 = button({8, 8, 145, 41}, QStringLiteral("もんだいえらび"),
                     fontOf(QStringLiteral("ＭＳ 明朝"), 17, true));
    Button2 = button({168, 8, 137, 41}, kShowAnswer, gothic(17, true));
    Button4 = button({320, 8, 105, 41}, QStringLiteral("はじめから"), gothic(17, true));
    Button3 = button({448, 8, 89, 41}, QStringLiteral("おしまい"), gothic(17, true));
    CheckBox1 = new QCheckBox(QStringLiteral("もんだいすうをきめる"), Panel2);
    CheckBox1->setGeometry(40, 56, 201, 17);
    CheckBox1->setFont(gothic(17));
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button4);
    setTabOrder(Button4, Button3);
    setTabOrder(Button3, CheckBox1);

    auto glyphButton = [this](QRect place, const QString& glyph) {
        auto* b = new QToolButton(this);
        b->setGeometry(place);
        b->setIcon(common::glyphIcon(glyph, devicePixelRatioF()));
        b->setIconSize({33, 33});
        return b;
    };
    BitBtn1 = glyphButton({528, 0, 41, 41}, QStringLiteral(":/glyphs/help.png"));
    BitBtn2 = glyphButton({456, 0, 41, 41}, QStringLiteral(":/glyphs/print.png"));

    // Names a screen reader reads for the controls without a text of their own.
    const std::pair<QWidget*, const char16_t*> names[] = {
        {Edit1, u"もんだいめい"}, {Edit2, u"ぜんぶのもんだいすう"}, {Edit3, u"なんもんめ"},
        {Edit4, u"もんだい"},     {Edit5, u"こたえ"},               {Edit6, u"おしらせ"},
        {Edit7, u"てんすう"},     {Image1, u"え"},                  {BitBtn1, u"ヘルプ"},
        {BitBtn2, u"いんさつ"}};
    for (const auto& [widget, name] : names) widget->setAccessibleName(QString::fromUtf16(name));

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(BitBtn1, &QToolButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QToolButton::clicked, this, [this] { BitBtn2Click(); });
}

void TForm1::FormCreate()
{
    m_drill.answerShown = m_drill.setFinished = m_drill.setChosen = false;
    Edit6->setText(QStringLiteral("もんだいをえらんでね☆"));
    Button2->setText(kShowAnswer);
    blankPicture();
    // Without the file the blank picture stays, and the start goes on.
    showMascot();
    m_state.fixed.CountIsFixed = false;
    m_drill.keyReleased = false;
    BitBtn1->setToolTip(QStringLiteral("ヘルプを表示"));
    BitBtn2->setToolTip(QStringLiteral("問題の印刷"));
}

void TForm1::blankPicture()
{
    QPixmap blank(81, 81);
    blank.fill(Qt::white);
    Image1->setPixmap(blank);
}

void TForm1::showMascot()
{
    // A missing mascot is reported once; the drill goes on without it.
    m_feedback.showPicture(Image1, QStringLiteral("mascot.bmp"));
    m_drill.mascotShowing = true;
}

void TForm1::showScore(int dealtWith)
{
    Edit7->setText(withBlank(ScorePercent(m_drill.firstTryCorrect, dealtWith)));
}

TForm3* TForm1::choiceWindow()
{
    if (!m_choiceWindow) {
        m_ownChoiceWindow = std::make_unique<TForm3>(m_state, this);
        m_choiceWindow = m_ownChoiceWindow.get();
    }
    return m_choiceWindow;
}

void TForm1::Button1Click()
{
    TForm3* const chooser = choiceWindow();
    const Choice& choice = m_state.choice;
    // What the set now shown was made with, should it stay.
    const Choice previousChoice = m_state.choice;
    const auto previousTitle = m_state.store.title;
    for (;;) {
        chooser->setResult(QDialog::Rejected);
        showChoiceWindow(*chooser);
        const bool confirmed = chooser->result() == QDialog::Accepted;
        if (!choice.makesASet()) {
            // An empty table choice asks again; the close box ends the asking
            // and leaves the previous set as it was, with its choice and title.
            if (!confirmed) {
                m_state.choice = previousChoice;
                m_state.store.title = previousTitle;
                return;
            }
            continue;
        }
        // A category without a generator keeps the previous set.
        m_generators.generate(choice, m_state.store);
        break;
    }

    m_drill.firstTryCorrect = 0;
    m_drill.currentNumber = 1;
    m_drill.onFirstTry = true;
    m_drill.setFinished = false;
    m_drill.answerShown = false;

    ProblemStore& store = m_state.store;
    if (m_state.fixed.CountIsFixed && store.count > m_state.fixed.FixedCount)
        store.count = m_state.fixed.FixedCount;

    Edit1->setText(store.title.text());
    Edit2->setText(withBlank(store.count));
    Edit3->setText(withBlank(m_drill.currentNumber));
    Edit4->setText(store.question(1));
    Edit5->setText(QStringLiteral("こたえ"));
    Edit7->setText(withBlank(0));
    m_drill.setChosen = true;

    blankPicture();
    Button2->setText(kShowAnswer);
    Edit6->setText(kTypeAnswer);
    showMascot();
    Edit5->setFocus();
}

void TForm1::showEndOfRun(bool focusButton1)
{
    m_drill.setFinished = true;
    // The score counts the problems really dealt with, so a count lowered in
    // the middle of a run cannot push it above 100.
    const int dealtWith = m_drill.currentNumber - 1;
    Edit4->setText(QString::number(ScorePercent(m_drill.firstTryCorrect, dealtWith)) +
                   QStringLiteral("てんです。"));
    Edit5->setText(QStringLiteral("おしまいです。"));
    Edit6->setText(QStringLiteral("下のボタンでえらんでね☆"));
    if (focusButton1) Button1->setFocus();
}

void TForm1::Button2Click()
{
    if (!m_drill.setChosen) return;
    const ProblemStore& store = m_state.store;
    if (!m_drill.answerShown) {
        if (m_drill.setFinished) return;
        const int k = std::clamp(m_drill.currentNumber, 1, kMaxProblems);
        Edit5->setText(store.answer(k));
        showMascot();
        Edit6->setText(kTypeAnswer);
        if (m_drill.currentNumber <= store.count) {
            m_drill.answerShown = true;
            m_drill.onFirstTry = false;
            Button2->setText(kNextProblem);
            showScore(m_drill.currentNumber);
        } else {
            showEndOfRun(true);
        }
        return;
    }
    // After the end, further clicks show the same display: the number neither
    // grows nor drops below the problems dealt with (a lowered count).
    if (!m_drill.setFinished) ++m_drill.currentNumber;
    if (m_drill.currentNumber <= store.count) {
        Edit4->setText(store.question(m_drill.currentNumber));
        Edit3->setText(withBlank(m_drill.currentNumber));
        Edit5->clear();
        Button2->setText(kShowAnswer);
        m_drill.answerShown = false;
        m_drill.onFirstTry = true;
        showScore(m_drill.currentNumber - 1);
        Edit5->setFocus();
    } else {
        showEndOfRun(false);
    }
}

void TForm1::Button3Click() { close(); }

void TForm1::Button4Click()
{
    const ProblemStore& store = m_state.store;
    Edit1->setText(store.title.text());
    Edit2->setText(QString::number(store.count));
    m_drill.currentNumber = 1;
    m_drill.setFinished = false;
    m_drill.answerShown = false;
    m_drill.firstTryCorrect = 0;
    m_drill.onFirstTry = true;
    Edit3->setText(withBlank(1));
    Edit4->setText(store.question(1));
    Edit5->setText(QStringLiteral("こたえ"));
    Edit7->setText(QStringLiteral("0"));
    showMascot();
    Button2->setText(kShowAnswer);
    Edit6->setText(kTypeAnswer);
    Edit5->setFocus();
}

void TForm1::CheckBox1Click()
{
    FixedNumber& fixed = m_state.fixed;
    ProblemStore& store = m_state.store;
    if (!fixed.CountIsFixed) {
        const QString typed = m_services.dialogs.inputBox(
            this, QStringLiteral("なんもんやるかをきめます"),
            QStringLiteral("もんだいすうは？ OK はマウスでクリック！"), QStringLiteral("10"));
        const std::optional<int> number = common::ParseWholeNumber(typed);
        if (!number) {
            m_services.dialogs.error(this, QStringLiteral("'%1' は整数ではありません").arg(typed));
            // The tick always shows whether a number is fixed.
            const QSignalBlocker block(CheckBox1);
            CheckBox1->setChecked(fixed.CountIsFixed);
            Edit5->setFocus();
            return;
        }
        fixed.FixedCount = ClampFixedCount(*number);
        fixed.CountIsFixed = true;
        if (store.count > fixed.FixedCount) {
            store.count = fixed.FixedCount;
            Edit2->setText(withBlank(store.count));
        }
    } else {
        fixed.CountIsFixed = false;
        store.count = static_cast<qint32>(
            std::clamp<std::int64_t>(ReadWhole(store.countText().text()), 0, kMaxProblems));
        Edit2->setText(withBlank(store.count));
    }
    {
        const QSignalBlocker block(CheckBox1);
        CheckBox1->setChecked(fixed.CountIsFixed);
    }
    Edit5->setFocus();
}

void TForm1::BitBtn1Click()
{
    ApplicationHelpFile() = QStringLiteral("numira.hlp");
    const QString path = m_feedback.locator().find(ApplicationHelpFile());
    if (!m_help) m_help = new HelpWindow(this);
    if (path.isEmpty() || !m_help->showFile(path)) {
        m_services.dialogs.warning(
            this, QStringLiteral("ヘルプファイル %1 が見つかりません。").arg(ApplicationHelpFile()));
        return;
    }
    m_help->show();
    m_help->raise();
}

void TForm1::BitBtn2Click()
{
    using Answer = common::Dialogs::Answer;
    common::Dialogs& dialogs = m_services.dialogs;
    const QString breaks = QStringLiteral("\r\n\n");
    if (!CheckBox1->isChecked()) {
        const Answer a = dialogs.information(
            this, QStringLiteral("このボタンは、もんだいをいんさつするボタンです。") + breaks +
                      QStringLiteral("もんだいすうをきめてからえらんでください"));
        if (a == Answer::Ok) return;
    }
    const QString question =
        QStringList{QStringLiteral("このボタンは　もんだいを いんさつするボタンです。"),
                    QStringLiteral("いまだされているもんだいをいんさつします。"),
                    QStringLiteral("もんだいえらびでえらびなおすとあたらしいもんだいがでます。"),
                    QStringLiteral("いんさつしますか？")}
            .join(breaks);
    if (dialogs.confirm(this, question) != Answer::Yes) return;

    const QString before = Edit6->text();
    Edit6->setText(QStringLiteral("いんさつちゅうです"));
    Edit6->repaint();
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Cancel in the print dialog prints nothing.
    if (!dialogs.printerSetup(this, *m_printer)) {
        Edit6->setText(before);
        return;
    }

    const ProblemStore& store = m_state.store;
    QStringList problems, answers;
    for (int i = 1; i <= std::min<int>(store.count, kMaxProblems); ++i) {
        problems << store.question(i) + QStringLiteral(" =");
        answers << store.question(i) + QStringLiteral(" =") + store.answer(i);
    }
    const auto surface = makePageSurface(*m_printer);
    if (!common::PrintWorksheet(*surface, QStringLiteral("ＭＳゴシック"), 20, problems, answers))
        dialogs.warning(this, surface->errorText());
    Edit6->setText(before);
}

void TForm1::Edit5KeyUp() { m_drill.keyReleased = true; }

void TForm1::Edit5KeyDown(int key)
{
    DrillState& d = m_drill;
    if (!d.mascotShowing && d.keyReleased) {
        showMascot();
        Edit6->setText(kTypeAnswer);
    }
    if (!isReturn(key) || !d.keyReleased) return;
    d.keyReleased = false;
    if (!d.setChosen || d.setFinished) return;
    // An empty field is no answer: a second Return must not cost a point.
    if (IsBlankAnswer(Edit5->text())) return;

    const ProblemStore& store = m_state.store;
    const int k = std::clamp(d.currentNumber, 1, kMaxProblems);
    const bool right =
        JudgeAnswer(store.answer(k), Edit5->text(),
                    HasRemainder(m_state.choice.category, m_state.choice.number));
    if (!right) {
        d.onFirstTry = false;
        Edit6->setText(QStringLiteral("ぶ～　まちがえたよ"));
        m_feedback.showPicture(Image1, QStringLiteral("batu1.bmp"));
        m_feedback.playSound(QStringLiteral("batu1.wav"));
        d.mascotShowing = false;
        showScore(d.currentNumber);
        return;
    }
    Edit6->setText(QStringLiteral("せいかいです！"));
    m_feedback.showPicture(Image1, QStringLiteral("maru1.bmp"));
    d.mascotShowing = false;
    m_feedback.playSound(QStringLiteral("maru1.wav"));
    ++d.currentNumber;
    if (d.onFirstTry) ++d.firstTryCorrect;
    showScore(d.currentNumber - 1);
    d.onFirstTry = true;
    if (d.answerShown) {
        Button2->setText(kShowAnswer);
        d.answerShown = false;
    }
    if (d.currentNumber > store.count) {
        showEndOfRun(true);
        return;
    }
    Edit4->setText(store.question(d.currentNumber));
    Edit3->setText(withBlank(d.currentNumber));
    Edit5->clear();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit5) {
        if (event->type() == QEvent::KeyPress) {
            Edit5KeyDown(static_cast<QKeyEvent*>(event)->key());
        } else if (event->type() == QEvent::KeyRelease) {
            // A held key repeats as release/press pairs: only a real release counts.
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) Edit5KeyUp();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace numira
