// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/class_tab.h"

#include "kiroku/page_words.h"
#include "kiroku/ui/children_model.h"
#include "records/reads/class_page.h"
#include "records/store/records_store.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kiroku {

namespace records = common::records;

namespace {

// The columns before the kinds: the child, its step, its days this week and
// its fluent share.
constexpr int kClassLeadColumns = 4;

// A step of the day's practice as the adult reads it; every step is done
// when there is none.
QString classStepText(const std::optional<QString>& step)
{
    if (!step) return QStringLiteral("ぜんぶ終わり");
    if (step->startsWith(u"divrow:"))
        return QStringLiteral("わり算 %1の段").arg(step->mid(step->indexOf(u':') + 1));
    return kindLabel(QStringLiteral("numira"), *step);
}

} // namespace

ClassTab::ClassTab(records::RecordsStore& store, ChildrenModel& children,
                   std::function<void()> showChildPage)
    : m_store(store), m_model(children), m_showChildPage(std::move(showChildPage))
{
    QWidget* page = this;
    m_about = new QLabel(page);
    m_about->setWordWrap(true);
    m_about->setTextFormat(Qt::PlainText);
    m_about->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_class = new QTableWidget(page);
    m_class->setAccessibleName(QStringLiteral("クラスのようす"));
    m_class->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_class->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_class->setSelectionMode(QAbstractItemView::SingleSelection);
    m_class->verticalHeader()->hide();
    // Enter or a double click on a child opens its page.
    connect(m_class, &QTableWidget::cellActivated, this, [this](int row) {
        const int index = m_model.rowOf(m_class->item(row, 0)->data(Qt::UserRole).toLongLong());
        if (index < 0) return;
        m_model.choose(index);
        m_showChildPage();
    });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_about);
    layout->addWidget(m_class, 1);
}

void ClassTab::setService(const QString& service)
{
    m_about->setText(
        QStringLiteral("学校のサーバー（サービス名: %1）の記録です。子どもごと・種類ごとに、"
                       "一回目で正解した割合と、最後に練習した日を出しています。「いまのステップ」は"
                       "きょうのれんしゅうで取り組んでいる段階、「今週の日数」は月曜日から今日までに"
                       "きょうのれんしゅうを終えた日の数です。子どもを選んで "
                       "Enter キーを押すか、ダブルクリックすると、その子どものようすを見られます。"
                       "ここでは記録を見るだけで、変えることはできません。")
            .arg(service));
}

void ClassTab::showClass()
{
    const records::ClassPage page =
        m_store.isOpen() ? records::readClassPage(m_store.connection()) : records::ClassPage{};
    m_class->clear();
    m_class->setRowCount(int(page.rows.size()));
    m_class->setColumnCount(int(page.kinds.size()) + kClassLeadColumns);
    QStringList headers{QStringLiteral("子ども"), QStringLiteral("いまのステップ"),
                        QStringLiteral("今週の日数"), QStringLiteral("すらすら")};
    for (const records::ClassKind& kind : page.kinds)
        headers << kindLabel(kind.program, kind.choice);
    m_class->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < page.rows.size(); ++r) {
        const records::ClassRow& row = page.rows[r];
        auto* name = new QTableWidgetItem(row.nickname);
        name->setData(Qt::UserRole, row.child);
        m_class->setItem(r, 0, name);
        m_class->setItem(r, 1, new QTableWidgetItem(classStepText(row.step)));
        m_class->setItem(r, 2,
                         new QTableWidgetItem(QStringLiteral("%1日").arg(row.markedDaysThisWeek)));
        m_class->setItem(r, 3, new QTableWidgetItem(fluentText(row.fluentFacts, row.recallFacts)));
        // A kind the child never practised is an empty cell.
        for (int k = 0; k < row.kinds.size(); ++k) {
            const records::KindSummary& kind = row.kinds[k];
            if (kind.sets == 0) continue;
            m_class->setItem(
                r, k + kClassLeadColumns,
                new QTableWidgetItem(percentText(kind.problems, kind.firstTryPercent) + u'\u3000' +
                                     dayTick(kind.lastPractised.toLocalTime().date())));
        }
    }
    m_class->resizeColumnsToContents();
}

} // namespace kiroku
