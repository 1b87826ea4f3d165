// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/ui/choice_dialog.h"

#include "common/fonts.h"
#include "numira/core/catalogue.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
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
    const bool shown = m_pages->indexOf(m_reviewPage) >= 0;
    if (review && !shown) m_pages->addTab(m_reviewPage, QStringLiteral("にがて"));
    if (!review && shown) m_pages->removeTab(kReview);
    m_review = review.value_or(QList<common::ReviewProblem>());
    showReviewText();
    fitTabs();
    pageShown(m_pages->currentIndex());
}

// The review page says how many problems came back, or that none did.
void ChoiceDialog::showReviewText()
{
    int due = 0;
    for (const common::ReviewProblem& p : m_review) due += p.due;
    m_reviewText->setText(
        m_review.isEmpty()
            ? QStringLiteral("いまは にがてな もんだいは ないよ☆\nまた こんど やってみよう！")
            : QStringLiteral("まちがえた もんだいが %1もん もどってきたよ。\n"
                             "ぜんぶで %2もん。「けってい」で はじめよう☆")
                  .arg(due)
                  .arg(m_review.size()));
}

// The review page without anything due offers no set.
void ChoiceDialog::pageShown(int page)
{
    m_confirmButton->setEnabled(page != kReview || !m_review.isEmpty());
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
    } else if (page == kReview) {
        if (m_review.isEmpty()) return;
        m_chosen = {{kReview, 0, {}}, QStringLiteral("にがて"), m_review};
    }
    accept();
}

} // namespace numira
