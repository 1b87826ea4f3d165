// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/child_page_view.h"

#include "kiroku/page_words.h"

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

namespace {

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
    table->clearSpans();
    if (rows.isEmpty()) {
        // Said in the table, so that a screen reader meets it there too.
        table->setRowCount(1);
        table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("まだ記録がありません")));
        table->setSpan(0, 0, 1, table->columnCount());
        if (table->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) fitTable(table);
        return;
    }
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

// What was typed at a fact, each text once with how often, the most typed
// first (the newest first among equals), a few at most: a child who types 54
// for 7×8 every time shows at once, and a long list does not widen the page.
QString typedSummary(const QStringList& typed)
{
    constexpr qsizetype kShown = 6;
    QList<std::pair<QString, int>> counts;
    for (const QString& text : typed) {
        const auto found = std::find_if(counts.begin(), counts.end(),
                                        [&](const auto& c) { return c.first == text; });
        if (found == counts.end())
            counts.append({text, 1});
        else
            ++found->second;
    }
    std::stable_sort(counts.begin(), counts.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    QStringList shown;
    for (const auto& [text, n] : counts.first(std::min(counts.size(), kShown)))
        shown << (n > 1 ? QStringLiteral("%1（%2回）").arg(text).arg(n) : text);
    QString summary = shown.join(u"、");
    if (counts.size() > kShown)
        summary += QStringLiteral(" ほか%1種類").arg(counts.size() - kShown);
    return summary;
}

// The month's calendar, a week a row from Sunday: a day with the day's mark
// says so and is coloured like a flower; any other day is only its number.
const QStringList kWeekdays{QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                            QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"),
                            QStringLiteral("土")};

void fillMonth(QTableWidget* table, const QDate& today, const QList<QDate>& marked)
{
    const QDate first(today.year(), today.month(), 1);
    const int lead = first.dayOfWeek() % 7; // Sunday first
    const int days = first.daysInMonth();
    table->clearContents();
    table->setRowCount((lead + days + 6) / 7);
    for (int d = 1; d <= days; ++d) {
        const QDate day(today.year(), today.month(), d);
        const bool mark = marked.contains(day);
        auto* cell =
            new QTableWidgetItem(mark ? QStringLiteral("%1\nはなまる").arg(d) : QString::number(d));
        cell->setTextAlignment(Qt::AlignCenter);
        cell->setData(Qt::AccessibleTextRole,
                      day.toString(u"M月d日") + (mark ? QStringLiteral(" はなまる") : QString()));
        if (mark) {
            cell->setBackground(QColor(0xfde4ee));
            cell->setForeground(QColor(Qt::black));
        }
        table->setItem((lead + d - 1) / 7, (lead + d - 1) % 7, cell);
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    fitTable(table);
}

} // namespace

ChildPageView::ChildPageView(QWidget* parent) : QWidget(parent)
{
    m_kinds = makeTable(kKindsHeading.toString(), kindHeaders(), true, this);
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

    m_step = new QLabel(this);
    m_step->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_passed = makeTable(
        QStringLiteral("できたステップ"),
        {QStringLiteral("ステップ"), QStringLiteral("できた日"), QStringLiteral("どうやって")},
        true, this);
    m_month = makeTable(QStringLiteral("今月のはなまる"), kWeekdays, true, this);
    m_marks = new QLabel(this);
    m_marks->setObjectName(QStringLiteral("marks"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading(QStringLiteral("きょうのれんしゅう"), this));
    layout->addWidget(m_step);
    layout->addWidget(m_passed);
    layout->addWidget(heading(QStringLiteral("今月のはなまる"), this));
    layout->addWidget(m_marks);
    layout->addWidget(m_month);
    layout->addWidget(heading(kGridHeading.toString(), this));
    layout->addWidget(makeGrid());
    layout->addWidget(heading(kKindsHeading.toString(), this));
    layout->addWidget(m_kinds);
    layout->addWidget(heading(kTrendHeading.toString(), this));
    layout->addWidget(makeTrend());
    layout->addWidget(heading(QStringLiteral("よくまちがえる問題（この2週間）"), this));
    layout->addWidget(m_missed);
    layout->addWidget(heading(QStringLiteral("バイロ"), this));
    layout->addWidget(m_bairo);
    layout->addStretch();
    showPage({});
    showPath(std::nullopt);
}

QWidget* ChildPageView::makeGrid()
{
    auto* box = new QWidget(this);
    m_grid = makeTable(QStringLiteral("九九の表"), {}, true, box);
    m_grid->setRowCount(9);
    QStringList rows;
    for (int a = 1; a <= 9; ++a) rows << gridRowHeader(a);
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
    for (const StateLook& look : kStateLooks) {
        const QString text = legendText(look);
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
    m_problems = new QBarSet(kProblemsWord.toString());
    auto* bars = new QBarSeries;
    bars->append(m_problems);
    bars->setBarWidth(0.8);
    m_percent = new QLineSeries;
    m_percent->setName(kFirstTryShareWord.toString());
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
    for (const records::KindSummary& k : page.kinds) kinds << kindCells(k);
    fillTable(m_kinds, kinds);

    QList<QStringList> missed;
    for (const records::MissedFact& m : page.mostMissed)
        missed << QStringList{factLabel(m.fact), QString::number(m.misses),
                              typedSummary(m.typedWrong)};
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

void ChildPageView::showPath(const std::optional<records::PathPage>& page, const QDate& today)
{
    setUpdatesEnabled(false);
    QString step = page ? currentStepText(page->current) : QStringLiteral("まだ記録がありません");
    if (page && page->placing)
        step += QStringLiteral("（はじめのテストで、どこから始めるかをさがしています）");
    m_step->setText(step);

    QList<QStringList> passed;
    for (const records::StepPassed& p : page ? page->passed : QList<records::StepPassed>{})
        passed << QStringList{stepName(p.step), p.day.toString(u"yyyy/MM/dd"),
                              p.byPlacement ? QStringLiteral("はじめのテストで合格")
                                            : QStringLiteral("れんしゅうで合格")};
    fillTable(m_passed, passed, {2});

    const common::DayMarks marks = page ? page->marks : common::DayMarks{};
    m_marks->setText(marksText(marks));
    fillMonth(m_month, today, marks.month);
    setUpdatesEnabled(true);
}

void ChildPageView::showGrid(const QHash<QString, records::FactStanding>& facts)
{
    const int first = gridFirstColumn(facts);
    m_grid->clearContents();
    m_grid->setColumnCount(10 - first);
    QStringList columns;
    for (int b = first; b <= 9; ++b) columns << gridColumnHeader(b);
    m_grid->setHorizontalHeaderLabels(columns);

    for (int a = 1; a <= 9; ++a) {
        for (int b = first; b <= 9; ++b) {
            const records::FactStanding standing = gridStanding(facts, a, b);
            const QString fact = QStringLiteral("%1×%2").arg(a).arg(b);
            const QString word = records::stateWord(standing.state);
            const QString time = usualTimeText(standing);
            auto* cell = new QTableWidgetItem(gridCellText(a, b, standing.state) +
                                              (time.isEmpty() ? QString() : u'\n' + time));
            cell->setTextAlignment(Qt::AlignCenter);
            cell->setBackground(QColor(lookOf(standing.state).colour));
            cell->setForeground(QColor(Qt::black));
            // What a screen reader says of the cell: the fact, its word and
            // its usual time.
            cell->setData(Qt::AccessibleTextRole, gridCellName(a, b, standing));
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
    for (int i = 0; i < days.size(); i += 14) m_dayAxis->append(dayTick(days[i].day), i);
    m_dayAxis->setRange(-0.5, std::max<qsizetype>(days.size(), 1) - 0.5);
}

} // namespace kiroku
