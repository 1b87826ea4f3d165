// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/ui/choice_dialog.h"

#include "common/fonts.h"
#include "numira/core/catalogue.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include <cmath>

#include <algorithm>

namespace numira {

namespace {
QFont dialogGothic(int pixels)
{
    return common::designedFont(QStringLiteral("ＭＳ ゴシック"), pixels);
}

// Tabs padded as narrowly as the window was designed with, so that the five
// page tabs fit in one row at every density; the style's own padding is
// twice as wide and pushed the last tab out of sight.
class NarrowTabStyle final : public QProxyStyle {
public:
    explicit NarrowTabStyle(int padding) : m_padding(padding) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace) return m_padding;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    int m_padding;
};

// The mark a teacher draws on good work: the day's number in a circle with
// petals around it, in red.
QPixmap hanamaruPicture(int day, QSize size, const QFont& font)
{
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(220, 40, 60), 1.5));
    const QPointF centre = QRectF(picture.rect()).center();
    const qreal r = std::min(size.width(), size.height()) * 0.3;
    painter.drawEllipse(centre, r, r);
    constexpr int kPetals = 7;
    for (int k = 0; k < kPetals; ++k) {
        const qreal angle = 2 * M_PI * k / kPetals;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * r * 1.35;
        painter.drawEllipse(at, r * 0.4, r * 0.4);
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(picture.rect(), Qt::AlignCenter, QString::number(day));
    return picture;
}
} // namespace

ChoiceDialog::ChoiceDialog(QWidget* parent) : QDialog(parent)
{
    // Laid out for 120 pixels per inch and rescaled to the screen's density.
    const QScreen* screen = parent ? parent->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) m_scale = screen->logicalDotsPerInchY() / 120.0;

    setWindowTitle(QStringLiteral("もんだいをえらんでね"));
    setModal(true);
    setFont(common::designedFont(QStringLiteral("System"), scaled(16)));
    move(scaled(81), scaled(2));
    setFixedSize(scaled(450), scaled(430));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_pages->setGeometry(scaled(23), scaled(12), scaled(410), scaled(365));
    m_pages->setFont(dialogGothic(scaled(17)));

    const QStringList pages = cataloguePages();
    static const char* const kListNames[] = {"additionList", "subtractionList",
                                             "multiplicationList", "divisionList"};
    for (Category category : kListCategories) {
        auto* page = new QWidget;
        auto* list = new QListWidget(page);
        list->setObjectName(QLatin1String(kListNames[category]));
        list->setGeometry(scaled(8), scaled(16), scaled(369), scaled(305));
        list->setFont(dialogGothic(scaled(17)));
        list->setUniformItemSizes(true);
        connect(list, &QListWidget::itemDoubleClicked, this, &ChoiceDialog::confirm);
        m_lists[category] = list;
        m_pages->addTab(page, pages[category]);
    }

    auto* tablePage = new QWidget;
    m_rowGroup = new QGroupBox(QStringLiteral("やるだんをクリックして×をつけてね"), tablePage);
    m_rowGroup->setObjectName(QStringLiteral("rowGroup"));
    m_rowGroup->setGeometry(scaled(8), scaled(16), scaled(369), scaled(313));
    m_rowGroup->setFont(dialogGothic(scaled(20)));
    static const char16_t* const kRowNames[] = {u"１のだん", u"２のだん", u"３のだん",
                                                u"４のだん", u"５のだん", u"６のだん",
                                                u"７のだん", u"８のだん", u"９のだん"};
    static const int kRowTops[] = {49, 98, 147, 196, 244};
    for (int k = 0; k < 9; ++k) {
        auto* box = new QCheckBox(QString::fromUtf16(kRowNames[k]), m_rowGroup);
        box->setObjectName(QStringLiteral("row%1Box").arg(k + 1));
        const int left = k < 5 ? 29 : 215;
        const int height = (k == 2 || k == 3 || k == 7 || k == 8) ? 20 : 21;
        box->setGeometry(scaled(left), scaled(kRowTops[k < 5 ? k : k - 5]), scaled(119),
                         scaled(height));
        m_rowBoxes[k] = box;
    }
    m_allRowsBox = new QCheckBox(QStringLiteral("ぜんぶのだん"), m_rowGroup);
    m_allRowsBox->setObjectName(QStringLiteral("allRowsBox"));
    m_allRowsBox->setGeometry(scaled(215), scaled(244), scaled(138), scaled(21));
    m_withZeroBox = new QCheckBox(QStringLiteral("０をいれる"), tablePage);
    m_withZeroBox->setObjectName(QStringLiteral("withZeroBox"));
    m_withZeroBox->setGeometry(scaled(120), scaled(304), scaled(121), scaled(17));
    m_withZeroBox->setFont(dialogGothic(scaled(20)));
    // The last box is drawn over the group frame, as designed.
    m_withZeroBox->raise();
    m_pages->addTab(tablePage, pages[kMultiplicationTable]);
    // The review page joins the tabs only while records are on.
    m_reviewPage = new QWidget(this);
    m_reviewPage->setObjectName(QStringLiteral("reviewPage"));
    m_reviewPage->hide();
    m_reviewText = new QLabel(m_reviewPage);
    m_reviewText->setObjectName(QStringLiteral("reviewText"));
    m_reviewText->setGeometry(scaled(8), scaled(16), scaled(369), scaled(305));
    m_reviewText->setFont(dialogGothic(scaled(20)));
    m_reviewText->setWordWrap(true);
    m_reviewText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    showReviewText();
    connect(m_pages, &QTabWidget::currentChanged, this, &ChoiceDialog::pageShown);
    // A box keeps its designed place but is never narrower than its text
    // (with the style's wider indicator, "ぜんぶのだん" lost its last letter),
    // moving left where its text would run past its frame.
    for (QCheckBox* box : findChildren<QCheckBox*>()) {
        box->ensurePolished();
        const int width = std::max(box->width(), box->sizeHint().width());
        const int room = box->parentWidget()->contentsRect().right() - box->x();
        if (width > room) box->move(box->x() - (width - room), box->y());
        box->resize(width, box->height());
    }
    fitTabs();

    m_confirmButton = new QPushButton(QStringLiteral("けってい"), this);
    m_confirmButton->setObjectName(QStringLiteral("confirmButton"));
    m_confirmButton->setGeometry(scaled(97), scaled(383), scaled(206), scaled(31));
    m_confirmButton->setAutoDefault(false);
    connect(m_confirmButton, &QPushButton::clicked, this, &ChoiceDialog::confirm);

    // Names a screen reader reads for the controls without a text of their own.
    m_pages->setAccessibleName(QStringLiteral("もんだいのしゅるい"));
    for (Category category : kListCategories) m_lists[category]->setAccessibleName(pages[category]);

    // At the first showing: the table page, with row 2 ticked.
    for (Category category : kListCategories) m_lists[category]->addItems(catalogueItems(category));
    m_pages->setCurrentIndex(kMultiplicationTable);
    m_rowBoxes[1]->setChecked(true);
}

int ChoiceDialog::scaled(int pixels) const { return int(std::lround(pixels * m_scale)); }

// The tabs as narrow as designed; with the review page they are padded
// narrower still so that all six fit in one row at 96 dpi. Should a
// machine's fonts still be too wide, every tab stays in reach by scrolling.
void ChoiceDialog::fitTabs()
{
    QTabBar* bar = m_pages->tabBar();
    for (const int padding : {12, 4}) {
        QStyle* before = bar->style();
        auto* narrow = new NarrowTabStyle(scaled(padding));
        narrow->setParent(bar);
        bar->setStyle(narrow);
        if (before != style()) delete before; // the style set here the last time
        if (bar->sizeHint().width() <= m_pages->width()) break;
    }
    m_pages->setUsesScrollButtons(bar->sizeHint().width() > m_pages->width());
}

void ChoiceDialog::setReview(std::optional<QList<common::ReviewProblem>> review)
{
    m_reviewOffered = review.has_value();
    m_review = review.value_or(QList<common::ReviewProblem>());
    showRecordsPage();
}

void ChoiceDialog::setDay(std::optional<common::DayPage> day)
{
    m_dayOffered = day.has_value();
    // Made at the first showing with records on, so that nothing changes with records off.
    if (day && !m_dayPart) buildDayPage();
    m_day = day ? day->set : common::DaySet();
    m_daySize = daySetSize(m_day);
    if (day) showDayPage(*day);
    showRecordsPage();
}

// The records' page joins the tabs while records are on. With the day's
// practice it grows from the review page into the day's page, what was
// missed kept below with a button of its own, so that the six tabs still
// fit in one row at 96 dpi; the first time it grows it is the page shown.
void ChoiceDialog::showRecordsPage()
{
    const bool offered = m_reviewOffered || m_dayOffered;
    const bool inTabs = m_pages->indexOf(m_reviewPage) >= 0;
    if (offered && !inTabs) m_pages->insertTab(kReview, m_reviewPage, QString());
    if (!offered && inTabs) m_pages->removeTab(m_pages->indexOf(m_reviewPage));
    if (offered)
        m_pages->setTabText(m_pages->indexOf(m_reviewPage),
                            m_dayOffered ? QStringLiteral("きょう") : QStringLiteral("にがて"));
    if (m_dayOffered && !m_dayJoined) m_pages->setCurrentWidget(m_reviewPage);
    m_dayJoined = m_dayJoined || m_dayOffered;
    if (m_dayPart) {
        m_dayPart->setVisible(m_dayOffered);
        m_reviewButton->setVisible(m_dayOffered && m_reviewOffered);
    }
    m_reviewText->setVisible(m_reviewOffered);
    if (m_dayOffered) {
        m_reviewText->setGeometry(scaled(8), scaled(298), scaled(262), scaled(28));
        m_reviewText->setFont(dialogGothic(scaled(17)));
    } else {
        m_reviewText->setGeometry(scaled(8), scaled(16), scaled(369), scaled(305));
        m_reviewText->setFont(dialogGothic(scaled(20)));
    }
    showReviewText();
    fitTabs();
    pageShown(m_pages->currentIndex());
}

// The review page says how many problems came back, or that none did; on
// the day's page, in one line.
void ChoiceDialog::showReviewText()
{
    int due = 0;
    for (const common::ReviewProblem& p : m_review) due += p.due;
    if (m_dayOffered) {
        m_reviewText->setText(
            m_review.isEmpty()
                ? QStringLiteral("にがては いま ないよ☆")
                : QStringLiteral("にがて %1もん もどってきたよ").arg(m_review.size()));
        return;
    }
    m_reviewText->setText(
        m_review.isEmpty()
            ? QStringLiteral("いまは にがてな もんだいは ないよ☆\nまた こんど やってみよう！")
            : QStringLiteral("まちがえた もんだいが %1もん もどってきたよ。\n"
                             "ぜんぶで %2もん。「けってい」で はじめよう☆")
                  .arg(due)
                  .arg(m_review.size()));
}

// The review page without anything due offers no set, nor the day's page
// with nothing left to practise.
void ChoiceDialog::pageShown(int page)
{
    const bool records = m_pages->widget(page) == m_reviewPage;
    m_confirmButton->setEnabled(!records || (m_dayOffered ? m_daySize > 0 : !m_review.isEmpty()));
    if (m_reviewButton) m_reviewButton->setEnabled(!m_review.isEmpty());
}

void ChoiceDialog::buildDayPage()
{
    m_reviewButton = new QPushButton(QStringLiteral("にがて"), m_reviewPage);
    m_reviewButton->setObjectName(QStringLiteral("reviewButton"));
    m_reviewButton->setGeometry(scaled(276), scaled(296), scaled(100), scaled(31));
    m_reviewButton->setFont(dialogGothic(scaled(17)));
    m_reviewButton->setAutoDefault(false);
    m_reviewButton->hide();
    connect(m_reviewButton, &QPushButton::clicked, this, &ChoiceDialog::chooseReview);
    m_dayPart = new QWidget(m_reviewPage);
    m_dayPart->setObjectName(QStringLiteral("dayPart"));
    m_dayPart->setGeometry(0, 0, scaled(390), scaled(296));
    m_dayPart->hide();
    m_dayText = new QLabel(m_dayPart);
    m_dayText->setObjectName(QStringLiteral("dayText"));
    m_dayText->setGeometry(scaled(8), scaled(8), scaled(369), scaled(50));
    m_dayText->setFont(dialogGothic(scaled(20)));
    m_dayText->setWordWrap(true);
    m_dayText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_dayButton = new QPushButton(QStringLiteral("はじめる"), m_dayPart);
    m_dayButton->setObjectName(QStringLiteral("dayButton"));
    m_dayButton->setGeometry(scaled(8), scaled(60), scaled(160), scaled(31));
    m_dayButton->setFont(dialogGothic(scaled(20)));
    m_dayButton->setAutoDefault(false);
    connect(m_dayButton, &QPushButton::clicked, this, &ChoiceDialog::confirm);
    m_monthTitle = new QLabel(m_dayPart);
    m_monthTitle->setObjectName(QStringLiteral("monthTitle"));
    m_monthTitle->setGeometry(scaled(8), scaled(98), scaled(300), scaled(22));
    m_monthTitle->setFont(dialogGothic(scaled(17)));
    for (int cell = 0; cell < int(m_dayCells.size()); ++cell) {
        auto* label = new QLabel(m_dayPart);
        label->setGeometry(scaled(8 + 52 * (cell % 7)), scaled(122 + 24 * (cell / 7)), scaled(50),
                           scaled(24));
        label->setFont(dialogGothic(scaled(14)));
        label->setAlignment(Qt::AlignCenter);
        m_dayCells[cell] = label;
    }
    m_inRowText = new QLabel(m_dayPart);
    m_inRowText->setObjectName(QStringLiteral("inRowText"));
    m_inRowText->setGeometry(scaled(8), scaled(268), scaled(369), scaled(24));
    m_inRowText->setFont(dialogGothic(scaled(17)));
}

// What the day holds in a child's words, and this month's marks: a flower
// on each marked day, nothing on the others.
void ChoiceDialog::showDayPage(const common::DayPage& day)
{
    // Asked again the same day, the same set; the mark counts once.
    QStringList lines{day.marks.today ? QStringLiteral("きょうのれんしゅう はなまる！")
                                      : QStringLiteral("きょうのれんしゅう")};
    if (m_daySize == 0)
        lines << QStringLiteral("きょうの れんしゅうは もう ないよ☆");
    else
        lines << QStringLiteral("きょうは%1もん ").arg(m_daySize) +
                     (day.set.placing ? QStringLiteral("どこまで できるかな？")
                                      : QStringLiteral("やろう☆"));
    m_dayText->setText(lines.join(u'\n'));
    m_dayButton->setEnabled(m_daySize > 0);

    const QDate today = QDate::currentDate();
    const QDate first(today.year(), today.month(), 1);
    m_monthTitle->setText(QStringLiteral("%1がつの はなまる").arg(today.month()));
    const int lead = first.dayOfWeek() - 1;
    for (int cell = 0; cell < int(m_dayCells.size()); ++cell) {
        QLabel* label = m_dayCells[cell];
        const QDate date = first.addDays(cell - lead);
        const bool inMonth = date.month() == today.month();
        const bool marked = inMonth && day.marks.month.contains(date);
        label->setVisible(inMonth);
        if (marked)
            label->setPixmap(hanamaruPicture(date.day(), label->size(), label->font()));
        else
            label->setText(QString::number(date.day()));
        label->setAccessibleName(marked ? QStringLiteral("%1にち はなまる").arg(date.day())
                                        : QString());
    }
    m_inRowText->setVisible(day.marks.daysInRow > 0);
    m_inRowText->setText(day.marks.daysInRow > 0
                             ? QStringLiteral("%1にち つづけて できたよ！").arg(day.marks.daysInRow)
                             : QString());
}

std::optional<ChosenSet> ChoiceDialog::chosenSet() const
{
    if (result() != QDialog::Accepted) return std::nullopt;
    return m_chosen;
}

void ChoiceDialog::confirm()
{
    const int page = m_pages->currentIndex();
    if (page >= kAddition && page <= kDivision) {
        const QModelIndexList selected = m_lists[page]->selectionModel()->selectedRows();
        const int number = selected.isEmpty() ? 0 : selected.first().row();
        m_chosen = {{page, number, {}}, m_lists[page]->item(number)->text()};
    } else if (page == kMultiplicationTable) {
        TableRowSelection table;
        table.lowestMultiplier = m_withZeroBox->isChecked() ? 0 : 1;
        for (int k = 0; k < 9; ++k) table.rows[k] = m_rowBoxes[k]->isChecked();
        if (m_allRowsBox->isChecked()) table.rows.fill(true);
        m_chosen = {{kMultiplicationTable, 0, table},
                    findProblemKind(kMultiplicationTable, 0)->title()};
    } else if (m_pages->currentWidget() == m_reviewPage && m_dayOffered) {
        if (m_daySize == 0) return;
        m_chosen = {{kToday, 0, {}}, QStringLiteral("きょうのれんしゅう"), {}, m_day};
    } else if (m_pages->currentWidget() == m_reviewPage) {
        chooseReview();
        return;
    }
    accept();
}

void ChoiceDialog::chooseReview()
{
    if (m_review.isEmpty()) return;
    m_chosen = {{kReview, 0, {}}, QStringLiteral("にがて"), m_review};
    accept();
}

} // namespace numira
