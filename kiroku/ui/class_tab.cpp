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
                       "一回目で正解した割合と、最後に練習した日を出しています。子どもを選んで "
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
    m_class->setColumnCount(int(page.kinds.size()) + 2);
    QStringList headers{QStringLiteral("子ども"), QStringLiteral("すらすら")};
    for (const records::ClassKind& kind : page.kinds)
        headers << kindLabel(kind.program, kind.choice);
    m_class->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < page.rows.size(); ++r) {
        const records::ClassRow& row = page.rows[r];
        auto* name = new QTableWidgetItem(row.nickname);
        name->setData(Qt::UserRole, row.child);
        m_class->setItem(r, 0, name);
        m_class->setItem(r, 1, new QTableWidgetItem(fluentText(row.fluentFacts, row.recallFacts)));
        // A kind the child never practised is an empty cell.
        for (int k = 0; k < row.kinds.size(); ++k) {
            const records::KindSummary& kind = row.kinds[k];
            if (kind.sets == 0) continue;
            m_class->setItem(
                r, k + 2,
                new QTableWidgetItem(percentText(kind.problems, kind.firstTryPercent) + u'\u3000' +
                                     dayTick(kind.lastPractised.toLocalTime().date())));
        }
    }
    m_class->resizeColumnsToContents();
}

} // namespace kiroku
