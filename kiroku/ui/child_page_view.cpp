// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/child_page_view.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace kiroku {

namespace records = common::records;
using records::FactState;

namespace {

// How a state looks in the grid: a mark, so that the grid reads without
// colour too, and a gentle background. A miss is △, not ×, which the grid of
// products would read as "times".
struct StateLook {
    FactState state;
    const char16_t* mark;
    QRgb colour;
};
// In the legend's order.
constexpr StateLook kLooks[] = {
    {FactState::kMastered, u"◎", 0xcdebd0},
    {FactState::kLearning, u"○", 0xfff1b8},
    {FactState::kRecentlyMissed, u"△", 0xf9c9d4},
    {FactState::kNotSeen, u"・", 0xececec},
};

const StateLook& lookOf(FactState state)
{
    for (const StateLook& look : kLooks)
        if (look.state == state) return look;
    return kLooks[3];
}

// The kinds by the keys the drills write. Kiroku links none of the drills'
// code, so their names are made here from the keys: a list kind by its
// category and its number as the child's list shows it ("add:3" is the
// fourth item: たし算 4), the times table by its rows ("table:2,7+0": 九九
// 2,7 (0から)), Bairo's by kind and level.
QString kindLabel(const QString& program, const QString& choice)
{
    const qsizetype colon = choice.indexOf(u':');
    const QString head = choice.left(colon);
    const QString rest = choice.mid(colon + 1);
    if (program == u"bairo") {
        const QString kind = head == u"lcm"   ? QStringLiteral("最小公倍数")
                             : head == u"gcd" ? QStringLiteral("最大公約数")
                                              : head;
        const QString level = rest == u"easy"   ? QStringLiteral("やさしい")
                              : rest == u"hard" ? QStringLiteral("むずかしい")
                                                : rest;
        return kind + u' ' + level;
    }
    if (head == u"table") {
        if (rest.endsWith(u"+0")) return QStringLiteral("九九 %1 (0から)").arg(rest.chopped(2));
        return QStringLiteral("九九 ") + rest;
    }
    static const QHash<QString, QString> kCategories{
        {QStringLiteral("add"), QStringLiteral("たし算")},
        {QStringLiteral("sub"), QStringLiteral("ひき算")},
        {QStringLiteral("mul"), QStringLiteral("かけ算")},
        {QStringLiteral("div"), QStringLiteral("わり算")}};
    bool number = false;
    const int index = rest.toInt(&number);
    if (!number || !kCategories.contains(head)) return choice;
    return kCategories.value(head) + u' ' + QString::number(index + 1);
}

// A fact as the drills show it: "mul:7x8" as 7×8, "div:17/5" as 17÷5, and
// Bairo's "lcm:6,8" as 6と8の最小公倍数.
QString factLabel(const QString& fact)
{
    const qsizetype colon = fact.indexOf(u':');
    const QString head = fact.left(colon);
    QString rest = fact.mid(colon + 1);
    if (head == u"lcm" || head == u"gcd")
        return rest.replace(u',', u'と') + u'の' +
               (head == u"lcm" ? QStringLiteral("最小公倍数") : QStringLiteral("最大公約数"));
    return rest.replace(u'x', u'×').replace(u'/', u'÷');
}

QString percentText(int problems, int percent)
{
    return problems > 0 ? QStringLiteral("%1%").arg(percent) : QStringLiteral("—");
}

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// A read-only table named for screen readers. `fitted`: as large as its
// cells (fitTable), so that the page scrolls and not the table.
QTableWidget* makeTable(const QString& name, const QStringList& headers, bool fitted,
                        QWidget* parent)
{
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    if (fitted) {
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        table->horizontalHeader()->setStretchLastSection(true);
    }
    return table;
}

// A fitted table's size from its headers and cells, set once it is filled.
void fitTable(QTableWidget* table)
{
    const int frame = 2 * table->frameWidth();
    const QHeaderView* rows = table->verticalHeader();
    const QHeaderView* columns = table->horizontalHeader();
    table->setFixedSize(frame + (rows->isHidden() ? 0 : rows->sizeHint().width()) +
                            columns->length(),
                        frame + columns->sizeHint().height() + rows->length());
}

// Rows of texts into a table, numbers set right: every column after the
// first except those in `texts`. The caller has the page's updates off, so
// the rows cost one layout.
void fillTable(QTableWidget* table, const QList<QStringList>& rows, QList<int> texts = {})
{
    table->clearContents();
    table->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            if (c > 0 && !texts.contains(c))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    if (table->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) fitTable(table);
}

} // namespace

ChildPageView::ChildPageView(QWidget* parent) : QWidget(parent)
{
    m_kinds = makeTable(QStringLiteral("種類ごとの記録"),
                        {QStringLiteral("種類"), QStringLiteral("セット数"),
                         QStringLiteral("問題数"), QStringLiteral("一回目で正解"),
                         QStringLiteral("答えるまで(中央値)"), QStringLiteral("最後にやった日")},
                        true, this);
    m_missed = makeTable(
        QStringLiteral("よくまちがえる問題"),
        {QStringLiteral("問題"), QStringLiteral("まちがえた回数"), QStringLiteral("書いた答え")},
        true, this);
    m_bairo =
        makeTable(QStringLiteral("バイロの記録"),
                  {QStringLiteral("種類"), QStringLiteral("問題数"), QStringLiteral("一回目で正解"),
                   QStringLiteral("「もっと小さい公倍数」のヒント"),
                   QStringLiteral("「もっと大きい公約数」のヒント")},
                  true, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading(QStringLiteral("九九"), this));
    layout->addWidget(makeGrid());
    layout->addWidget(heading(QStringLiteral("種類ごとの記録"), this));
    layout->addWidget(m_kinds);
    layout->addWidget(heading(QStringLiteral("この8週間"), this));
    layout->addWidget(makeTrend());
    layout->addWidget(heading(QStringLiteral("よくまちがえる問題（この2週間）"), this));
    layout->addWidget(m_missed);
    layout->addWidget(heading(QStringLiteral("バイロ"), this));
    layout->addWidget(m_bairo);
    layout->addStretch();
    showPage({});
}

QWidget* ChildPageView::makeGrid()
{
    auto* box = new QWidget(this);
    m_grid = makeTable(QStringLiteral("九九の表"), {}, true, box);
    m_grid->setRowCount(9);
    QStringList rows;
    for (int a = 1; a <= 9; ++a) rows << QStringLiteral("%1の段").arg(a);
    m_grid->setVerticalHeaderLabels(rows);
    m_grid->verticalHeader()->show();
    // Cells of one width, wide enough for a mark and a two-digit product.
    const QFontMetrics metrics(m_grid->font());
    m_grid->horizontalHeader()->setDefaultSectionSize(
        metrics.horizontalAdvance(QStringLiteral("◎ 81")) + 16);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // The legend: each state's colour, mark and word.
    auto* legend = new QVBoxLayout;
    for (const StateLook& look : kLooks) {
        const QString text = QString::fromUtf16(look.mark) + u' ' + records::stateWord(look.state);
        auto* label = new QLabel(text, box);
        label->setAccessibleName(text);
        label->setStyleSheet(QStringLiteral("background-color: %1; color: black; padding: 2px 8px;")
                                 .arg(QColor(look.colour).name()));
        legend->addWidget(label);
    }
    legend->addStretch();
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
    layout->addLayout(legend);
    layout->addStretch();
    return box;
}

QWidget* ChildPageView::makeTrend()
{
    m_problems = new QBarSet(QStringLiteral("問題数"));
    auto* bars = new QBarSeries;
    bars->append(m_problems);
    bars->setBarWidth(0.8);
    m_percent = new QLineSeries;
    m_percent->setName(QStringLiteral("一回目で正解 (%)"));
    m_percent->setPointsVisible(true);

    auto* chart = new QChart;
    chart->addSeries(bars);
    chart->addSeries(m_percent);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins({4, 4, 4, 4});
    // The days by index, labelled every other week in a smaller font: a
    // label is cut short when it is wider than its weeks.
    m_dayAxis = new QCategoryAxis;
    m_dayAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    QFont small = font();
    small.setPixelSize(std::max(9, QFontInfo(small).pixelSize() * 4 / 5));
    m_dayAxis->setLabelsFont(small);
    m_problemAxis = new QValueAxis;
    m_problemAxis->setLabelFormat(QStringLiteral("%d"));
    auto* percentAxis = new QValueAxis;
    percentAxis->setRange(0, 100);
    percentAxis->setLabelFormat(QStringLiteral("%d%%"));
    m_problemAxis->setLabelsFont(small);
    percentAxis->setLabelsFont(small);
    chart->addAxis(m_dayAxis, Qt::AlignBottom);
    chart->addAxis(m_problemAxis, Qt::AlignLeft);
    chart->addAxis(percentAxis, Qt::AlignRight);
    bars->attachAxis(m_dayAxis);
    bars->attachAxis(m_problemAxis);
    m_percent->attachAxis(m_dayAxis);
    m_percent->attachAxis(percentAxis);

    auto* box = new QWidget(this);
    auto* view = new QChartView(chart, box);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(440, 280);
    view->setAccessibleName(QStringLiteral("この8週間のグラフ"));
    view->setAccessibleDescription(QStringLiteral("同じ数が「日ごとの記録」の表にあります"));
    m_days =
        makeTable(QStringLiteral("日ごとの記録"),
                  {QStringLiteral("日"), QStringLiteral("問題数"), QStringLiteral("一回目で正解")},
                  false, box);
    m_days->setFixedHeight(280);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view, 3);
    layout->addWidget(m_days, 2);
    return box;
}

void ChildPageView::showPage(const records::ChildPage& page)
{
    // Every table is refilled with the page's updates off: one layout and one
    // paint for the whole page.
    setUpdatesEnabled(false);
    showGrid(page.facts);

    QList<QStringList> kinds;
    for (const records::KindSummary& k : page.kinds)
        kinds << QStringList{kindLabel(k.program, k.choice),
                             QString::number(k.sets),
                             QString::number(k.problems),
                             percentText(k.problems, k.firstTryPercent),
                             k.problems > 0
                                 ? QStringLiteral("%1秒").arg(k.medianMs / 1000.0, 0, 'f', 1)
                                 : QStringLiteral("—"),
                             k.lastPractised.toLocalTime().date().toString(u"yyyy/MM/dd")};
    fillTable(m_kinds, kinds);

    QList<QStringList> missed;
    for (const records::MissedFact& m : page.mostMissed)
        missed << QStringList{factLabel(m.fact), QString::number(m.misses),
                              m.typedWrong.join(u"、")};
    fillTable(m_missed, missed, {2});

    QList<QStringList> bairo;
    for (const records::HintSummary& h : page.bairo)
        bairo << QStringList{
            kindLabel(QStringLiteral("bairo"), h.choice), QString::number(h.problems),
            percentText(h.problems, h.firstTryPercent), QString::number(h.smallerMultipleHints),
            QString::number(h.largerDivisorHints)};
    fillTable(m_bairo, bairo);

    showTrend(page.days);
    setUpdatesEnabled(true);
}

void ChildPageView::showGrid(const QHash<QString, records::FactStanding>& facts)
{
    // The ×0 column only for a child who practised the table from 0.
    bool fromZero = false;
    for (int a = 1; a <= 9 && !fromZero; ++a)
        fromZero = facts.contains(QStringLiteral("mul:%1x0").arg(a));
    const int first = fromZero ? 0 : 1;
    m_grid->clearContents();
    m_grid->setColumnCount(10 - first);
    QStringList columns;
    for (int b = first; b <= 9; ++b) columns << QStringLiteral("×%1").arg(b);
    m_grid->setHorizontalHeaderLabels(columns);

    for (int a = 1; a <= 9; ++a) {
        for (int b = first; b <= 9; ++b) {
            const auto found = facts.constFind(QStringLiteral("mul:%1x%2").arg(a).arg(b));
            const records::FactStanding standing =
                found == facts.cend() ? records::FactStanding{} : *found;
            const StateLook& look = lookOf(standing.state);
            const QString fact = QStringLiteral("%1×%2").arg(a).arg(b);
            const QString word = records::stateWord(standing.state);
            auto* cell =
                new QTableWidgetItem(QString::fromUtf16(look.mark) + u' ' + QString::number(a * b));
            cell->setTextAlignment(Qt::AlignCenter);
            cell->setBackground(QColor(look.colour));
            cell->setForeground(QColor(Qt::black));
            // What a screen reader says of the cell: the fact and its word.
            cell->setData(Qt::AccessibleTextRole, fact + u' ' + word);
            QString tip = QStringLiteral("%1 = %2　%3").arg(fact).arg(a * b).arg(word);
            if (standing.seen > 0)
                tip += QStringLiteral("\n一回目で正解 %1回中%2回\n次の練習 %3")
                           .arg(standing.seen)
                           .arg(standing.firstTryRight)
                           .arg(standing.due.toString(u"M月d日"));
            cell->setToolTip(tip);
            m_grid->setItem(a - 1, b - first, cell);
        }
    }
    fitTable(m_grid);
}

void ChildPageView::showTrend(const QList<records::DaySummary>& days)
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QList<qreal> counts;
    QList<QPointF> percents;
    QList<QStringList> rows;
    int most = 0;
    for (int i = 0; i < days.size(); ++i) {
        const records::DaySummary& d = days[i];
        counts << d.problems;
        // The line joins the days practised; a day without problems has no share.
        if (d.problems > 0) percents << QPointF(i, d.firstTryPercent);
        most = std::max(most, d.problems);
        rows << QStringList{japanese.toString(d.day, QStringLiteral("M月d日(ddd)")),
                            QString::number(d.problems),
                            percentText(d.problems, d.firstTryPercent)};
    }
    fillTable(m_days, rows);

    m_problems->remove(0, m_problems->count());
    m_problems->append(counts);
    m_percent->replace(percents);
    m_problemAxis->setRange(0, std::max(most, 10));
    m_problemAxis->applyNiceNumbers();
    for (const QString& label : m_dayAxis->categoriesLabels()) m_dayAxis->remove(label);
    m_dayAxis->setStartValue(-0.5);
    for (int i = 0; i < days.size(); i += 14) m_dayAxis->append(days[i].day.toString(u"M/d"), i);
    m_dayAxis->setRange(-0.5, std::max<qsizetype>(days.size(), 1) - 0.5);
}

} // namespace kiroku
