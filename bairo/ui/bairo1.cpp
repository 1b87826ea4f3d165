#include "bairo/ui/bairo1.h"

#include "bairo/core/sheet.h"
#include "common/dialogs.h"
#include "common/fonts.h"
#include "common/random_source.h"
#include "common/whole_number.h"
#include "common/worksheet_page.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QToolTip>
#include <qdrawutil.h>

namespace bairo {

namespace {

const QString FontName = QStringLiteral("ＭＳ Ｐゴシック");
const QString Caption = QStringLiteral("バイロ Ver2.01 R2");
const QString ShowAnswerCaption = QStringLiteral("正解を見る");
const QString NextProblemCaption = QStringLiteral("次の問題");
const QString SetSizeBoxCaption = QStringLiteral("何問までやるかを決めます");
const QString SetSizeBoxPrompt = QStringLiteral("何問にしますか？ OK はマウスでクリック！");
const QString SetSizePreset = QStringLiteral("10");

const QColor Black(0, 0, 0);
const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);
const QColor Navy(0, 0, 128);
const QColor Teal(0, 128, 128);
const QColor Aqua(0, 255, 255);

// Hints come up after 100 ms instead of the platform's usual delay, and the
// radio groups get an etched frame drawn in place: the default frame is read
// from an image file, and reading it loads every image plugin on the first
// paint.
class HintStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 100;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_FrameGroupBox) {
            qDrawShadeRect(painter, option->rect, option->palette, true, 1, 0);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

QFont windowFont(int pixels, bool bold = false) { return common::designedFont(FontName, pixels, bold); }

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Text, colour);
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    w->setPalette(p);
}

// A read-only edit that shows a value; reachable by the mouse, not by Tab.
QLineEdit* display(QWidget* parent, const char* name, QRect geometry, const QFont& font)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setFont(font);
    edit->setGeometry(geometry);
    return edit;
}

// A label sized to its text, placed by its top-left corner.
QLabel* label(QWidget* parent, const char* name, QPoint at, const QString& text, const QFont& font)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    l->adjustSize();
    l->move(at);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, QRect geometry, const QString& text,
                    const QFont& font)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setFont(font);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

// A captioned group of radio items, laid out the way a radio group spreads
// its items over the height below the caption; item 0 selected.
QGroupBox* radioGroup(QWidget* parent, const char* name, QRect geometry, const QString& caption,
                      const QStringList& items, QButtonGroup*& group)
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
        auto* item = new QRadioButton(items[i], box);
        item->setObjectName(QString::fromLatin1(name) + QString::number(i));
        item->setGeometry(8, top + i * itemHeight, geometry.width() - 10, itemHeight);
        group->addButton(item, i);
    }
    group->button(0)->setChecked(true);
    return box;
}

} // namespace

TForm1::TForm1(common::Dialogs& dialogs, common::SoundPlayer& sound, common::RandomSource& random,
               common::AssetLocator assets, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_random(random),
      m_feedback(dialogs, sound, std::move(assets))
{
    makePageSurface = [](QPrinter& printer) -> std::unique_ptr<common::PageSurface> {
        return std::make_unique<common::PrinterSurface>(printer);
    };
    m_feedback.setReportParent(this);
    // The hint delay lives in the application's style; installed before the
    // controls exist so they are not polished twice.
    if (!dynamic_cast<HintStyle*>(QApplication::style())) QApplication::setStyle(new HintStyle);
    buildControls();
    FormCreate();
}

void TForm1::buildControls()
{
    setWindowTitle(Caption);
    setFont(windowFont(15));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Black);
    setPalette(p);
    // Fixed place and size: the controls are placed by pixel.
    move(11, 28);
    setFixedSize(598, 500);

    Panel2 = new QFrame(this);
    Panel2->setObjectName("Panel2");
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setGeometry(8, 8, 97, 97);
    Image1 = new QLabel(Panel2);
    Image1->setObjectName("Image1");
    Image1->setGeometry(8, 8, 81, 81);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setScaledContents(false);

    Edit7 = display(this, "Edit7", {128, 24, 441, 32}, windowFont(24, true));
    setTextColour(Edit7, Green);

    BitBtn1 = new QPushButton(this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(528, 64, 41, 41);
    BitBtn1->setAutoDefault(false);
    // The glyph is compiled in when the asset tool has drawn it; without it
    // the button simply shows no picture.
    const QString glyph = QStringLiteral(":/glyphs/print.png");
    if (QFile::exists(glyph)) {
        BitBtn1->setIcon(common::glyphIcon(glyph, devicePixelRatioF()));
        BitBtn1->setIconSize({33, 33});
    }

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(8, 120, 561, 233);

    const QFont big = windowFont(32, true);
    const QFont word = windowFont(32);
    Edit1 = display(Panel1, "Edit1", {32, 24, 81, 41}, big);
    Label1 = label(Panel1, "Label1", {120, 32}, QStringLiteral("と"), word);
    Edit2 = display(Panel1, "Edit2", {160, 24, 129, 41}, big);
    Label2 = label(Panel1, "Label2", {296, 32}, QStringLiteral("の"), word);
    Edit3 = display(Panel1, "Edit3", {336, 24, 177, 41}, big);
    Label3 = label(Panel1, "Label3", {520, 32}, QStringLiteral("は"), word);

    Edit4 = new QLineEdit(Panel1);
    Edit4->setObjectName("Edit4");
    Edit4->setFont(big);
    Edit4->setGeometry(32, 96, 209, 41);
    setTextColour(Edit4, Navy);
    Edit4->installEventFilter(this);
    // Digits must arrive as ASCII: no input-method composition here.
    Edit4->setAttribute(Qt::WA_InputMethodEnabled, false);
    Label4 = label(Panel1, "Label4", {248, 104}, QStringLiteral("です"), word);

    Button3 =
        button(Panel1, "Button3", {32, 160, 129, 41}, ShowAnswerCaption, windowFont(16, true));

    // The teal box behind the counters, outlined in black.
    Shape1 = new QFrame(Panel1);
    Shape1->setObjectName("Shape1");
    Shape1->setGeometry(376, 88, 145, 129);
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    QPalette shape = Shape1->palette();
    shape.setColor(QPalette::Window, Teal);
    shape.setColor(QPalette::WindowText, Black);
    Shape1->setPalette(shape);
    Shape1->setAutoFillBackground(true);

    const QFont counter = windowFont(19);
    const QFont unit = windowFont(19, true);
    Edit8 = display(Panel1, "Edit8", {392, 96, 65, 27}, counter);
    Label8 = label(Panel1, "Label8", {464, 104}, QStringLiteral("問中"), unit);
    Edit5 = display(Panel1, "Edit5", {392, 136, 65, 27}, counter);
    Label5 = label(Panel1, "Label5", {464, 144}, QStringLiteral("問目"), unit);
    Edit6 = display(Panel1, "Edit6", {392, 176, 65, 27}, counter);
    Label6 = label(Panel1, "Label6", {464, 184}, QStringLiteral("点"), unit);

    RadioGroup1 = radioGroup(this, "RadioGroup1", {16, 368, 113, 81}, QStringLiteral("問題の種類"),
                             {text::LcmWord, text::GcdWord}, RadioGroup1Items);
    RadioGroup2 =
        radioGroup(this, "RadioGroup2", {144, 368, 121, 81}, QStringLiteral("問題の ていど"),
                   {QStringLiteral("やさしい"), QStringLiteral("むずかしい")}, RadioGroup2Items);

    Button1 = button(this, "Button1", {296, 376, 113, 41}, QStringLiteral("スタート"),
                     windowFont(19, true));
    Button2 = button(this, "Button2", {456, 376, 97, 41}, QStringLiteral("おしまい"),
                     windowFont(19, true));

    CheckBox1 = new QCheckBox(QStringLiteral("問題数を決める"), this);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setFont(windowFont(16));
    CheckBox1->setGeometry(304, 440, 137, 17);

    // Names a screen reader reads for the controls without a text of their own.
    const std::pair<QWidget*, const char16_t*> names[] = {
        {Edit1, u"一つ目の数"}, {Edit2, u"二つ目の数"}, {Edit3, u"求めるもの"},
        {Edit4, u"答え"},       {Edit5, u"何問目"},     {Edit6, u"点数"},
        {Edit7, u"お知らせ"},   {Edit8, u"問題数"},     {Image1, u"絵"},
        {BitBtn1, u"問題を印刷"}};
    for (const auto& [widget, name] : names) widget->setAccessibleName(QString::fromUtf16(name));

    // Tab order: the radio groups, Start, quit, the answer field and its
    // button, the check box, the print button.
    QList<QWidget*> chain;
    for (QAbstractButton* b : RadioGroup1Items->buttons()) chain << b;
    for (QAbstractButton* b : RadioGroup2Items->buttons()) chain << b;
    chain << Button1 << Button2 << Edit4 << Button3 << CheckBox1 << BitBtn1;
    for (int i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(RadioGroup1Items, &QButtonGroup::idClicked, this, &TForm1::RadioGroup1Click);
    connect(RadioGroup2Items, &QButtonGroup::idClicked, this, &TForm1::RadioGroup2Click);
}

void TForm1::FormCreate()
{
    m_drill.SetSize = MaxSetSize;

    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4}) e->setText(text::Placeholder);
    Edit5->setText(QStringLiteral("0"));
    Edit6->setText(QStringLiteral("0"));
    Edit7->setText(text::ChooseAndStart);
    Edit8->setText(QString::number(m_drill.SetSize));

    // A missing picture is reported and the start-up goes on without it.
    showPicture(QStringLiteral("mascot.bmp"));

    m_drill.MascotShown = true;
    m_drill.ProblemKind = 0;
    m_drill.ProblemLevel = 0;
    m_drill.Score = 0;
    m_drill.QuestionNo = 0;
    m_drill.AnswerShown = false;
    m_drill.CorrectCount = 0;
    m_drill.FirstTry = true;
    m_drill.SetSizeFixed = false;
    m_drill.ReturnArmed = true;
    m_drill.Printing = false;

    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, Aqua);
    hints.setColor(QPalette::ToolTipText, Black);
    QToolTip::setPalette(hints);

    RadioGroup1->setToolTip(QStringLiteral("どちらの問題をやりますか"));
    RadioGroup2->setToolTip(QStringLiteral("むずかしい問題は大きな数"));
    Button3->setToolTip(QStringLiteral("正解を出します"));
    Button1->setToolTip(QStringLiteral("左の２つを選んでからスタート"));
    Button2->setToolTip(QStringLiteral("プログラムを終わります"));
    CheckBox1->setToolTip(QStringLiteral("何問やるかを決めます"));
    BitBtn1->setToolTip(QStringLiteral("問題を印刷します"));
}

void TForm1::Button1Click()
{
    m_drill.Start(RadioGroup1Items->checkedId(), RadioGroup2Items->checkedId());
    NewProblem();
    setMessageColour(Green);
    Edit7->setText(text::TypeAndReturn);
}

TForm1::~TForm1() = default;

void TForm1::BitBtn1Click()
{
    using Answer = common::Dialogs::Answer;
    const QString breaks = QStringLiteral("\r\n\n");
    if (!CheckBox1->isChecked()) {
        const Answer a = m_dialogs.information(
            this, QStringLiteral("このボタンは、問題を印刷するボタンです。") + breaks +
                      QStringLiteral("問題数を決めてから選んでください"));
        // Declining leaves the child's set as it is.
        if (a == Answer::Ok) return;
    }
    if (m_dialogs.confirm(this, QStringLiteral("このボタンは　問題を印刷するボタンです。") + breaks +
                                    QStringLiteral("印刷しますか？")) != Answer::Yes)
        return;

    // The drill as it was, should the sheet fail to print.
    const DrillState before = m_drill;
    const QString message = Edit7->text();
    const QPalette messagePalette = Edit7->palette();
    m_drill.Printing = true;
    Edit7->setText(QStringLiteral("印刷中です"));
    Edit7->repaint();
    const auto restore = [&] {
        m_drill = before;
        Edit7->setPalette(messagePalette);
        Edit7->setText(message);
    };
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Cancel in the print dialog prints nothing and leaves the drill as it was.
    if (!m_dialogs.printerSetup(this, *m_printer)) {
        restore();
        return;
    }

    const int kind = m_drill.ProblemKind;
    QStringList questions, answers;
    for (const Problem& p : GenerateSheet(m_drill, m_random, m_drill.SetSize)) {
        questions << SheetQuestion(p, kind);
        answers << SheetAnswer(p, kind);
    }
    const auto surface = makePageSurface(*m_printer);
    const bool printed =
        common::PrintWorksheet(*surface, QStringLiteral("ＭＳゴシック"), 13, questions, answers);
    m_drill.Printing = false;
    if (!printed) {
        m_dialogs.warning(this, surface->errorText());
        restore();
        return;
    }
    // After a printed sheet the drill starts a new set.
    Button1Click();
}

void TForm1::Button2Click()
{
    close();
}

void TForm1::Button3Click()
{
    if (m_drill.AnswerShown) {
        NewProblem();
        Edit7->setText(text::TypeAndReturn);
        return;
    }
    const bool last = m_drill.ShowAnswer();
    Edit4->setText(QString::number(m_drill.CurrentProblem.Answer));
    if (last) {
        FinishSet();
        return;
    }
    Button3->setText(NextProblemCaption);
    if (!m_drill.MascotShown) showMascot();
    Edit7->setText(text::TypeAndReturn);
}

void TForm1::CheckBox1Click()
{
    if (m_drill.SetSizeFixed) {
        m_drill.ReleaseSetSize();
    } else {
        const QString typed =
            m_dialogs.inputBox(this, SetSizeBoxCaption, SetSizeBoxPrompt, SetSizePreset);
        const std::optional<int> count = common::ParseWholeNumber(typed);
        if (!count) {
            // Nothing changes; the check mark goes back to what is in force.
            m_dialogs.error(this, QString(text::NotAnInteger).replace(QStringLiteral("%s"), typed));
            CheckBox1->setChecked(m_drill.SetSizeFixed);
            return;
        }
        m_drill.FixSetSize(*count);
    }
    Edit8->setText(QString::number(m_drill.SetSize));
    Edit4->setFocus();
}

void TForm1::RadioGroup1Click()
{
    m_drill.ProblemKind = RadioGroup1Items->checkedId();
}

void TForm1::RadioGroup2Click()
{
    m_drill.ProblemLevel = RadioGroup2Items->checkedId();
}

void TForm1::FinishSet()
{
    setMessageColour(Red);
    const int score = m_drill.FinishSet();
    Edit7->setText(text::FinishedBefore + QString::number(score) + text::FinishedAfter);
}

void TForm1::NewProblem()
{
    m_drill.NewProblem(m_random);
    const Problem& p = m_drill.CurrentProblem;
    Edit1->setText(QString::number(p.First));
    Edit2->setText(QString::number(p.Second));
    Edit3->setText(KindWord(m_drill.ProblemKind));
    Edit4->clear();
    Edit5->setText(QString::number(m_drill.QuestionNo));
    Edit6->setText(QString::number(m_drill.Score));
    Button3->setText(ShowAnswerCaption);
    Edit4->setFocus();
}

void TForm1::Edit4KeyDown(int key)
{
    if (!m_drill.MascotShown) {
        showMascot();
        Edit7->setText(text::TypeAndReturn);
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    const std::optional<Judgement> judged = m_drill.ReturnPressed(Edit4->text());
    if (!judged) return;

    // Judging, scoring and moving on happen whether or not the picture and
    // the sound could be given.
    if (judged->verdict == Verdict::Right) {
        if (judged->scored) Edit6->setText(QString::number(m_drill.Score));
        Edit7->setText(text::Right);
        showPicture(QStringLiteral("maru1.bmp"));
        m_drill.MascotShown = false;
        m_feedback.playSound(QStringLiteral("maru1.wav"));
        if (judged->finished)
            FinishSet();
        else
            NewProblem();
        return;
    }
    Edit7->setText(VerdictMessage(judged->verdict));
    showPicture(QStringLiteral("batu1.bmp"));
    m_drill.MascotShown = false;
    m_feedback.playSound(QStringLiteral("batu1.wav"));
    Edit6->setText(QString::number(m_drill.Score));
}

void TForm1::Edit4KeyUp(int)
{
    m_drill.KeyReleased();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit4) {
        if (event->type() == QEvent::KeyPress) {
            Edit4KeyDown(static_cast<QKeyEvent*>(event)->key());
        } else if (event->type() == QEvent::KeyRelease) {
            // A held key repeats as release-and-press pairs marked auto-repeat;
            // only the real release re-arms Return.
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) Edit4KeyUp(key->key());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::showPicture(const QString& name)
{
    // A picture that cannot be loaded leaves the box empty rather than keep
    // showing the feedback before it.
    if (!m_feedback.showPicture(Image1, name)) Image1->clear();
}

void TForm1::showMascot()
{
    showPicture(QStringLiteral("mascot.bmp"));
    m_drill.MascotShown = true;
}

void TForm1::setMessageColour(const QColor& colour)
{
    setTextColour(Edit7, colour);
}

} // namespace bairo
