// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/class_tab.h"

#include "kiroku/page_words.h"
#include "kiroku/ui/children_model.h"
#include "kiroku/ui/path_editor.h"
#include "records/reads/class_page.h"
#include "records/store/records_store.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

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
    return step ? stepName(*step) : QStringLiteral("ぜんぶ終わり");
}

} // namespace

ClassTab::ClassTab(common::Dialogs& dialogs, records::RecordsStore& store, ChildrenModel& children,
                   QWidget* window, std::function<void()> showChildPage)
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

    // The class's path: the server itself refuses a pupil or a teacher of
    // another class, and the editor tells the adult so.
    m_classes = new QComboBox(page);
    m_classes->setAccessibleName(QStringLiteral("道を決めるクラス"));
    auto* classesLabel = new QLabel(QStringLiteral("道を決めるクラス(&K):"), page);
    classesLabel->setBuddy(m_classes);
    connect(m_classes, &QComboBox::currentIndexChanged, this, &ClassTab::showClassPath);
    const auto save = [this](const records::Path& path, int problems) {
        return !chosenClass().isEmpty() &&
               m_store.setClassPath(chosenClass(), {path, problems, true});
    };
    m_path = new PathEditor(
        dialogs,
        {window, [this, save](const records::Path& path) { return save(path, m_dayProblems); },
         [this] { return !chosenClass().isEmpty() && m_store.resetClassPath(chosenClass()); },
         [this, save](int problems) {
             const auto shown = m_store.classPath(chosenClass());
             return shown && save(shown->path, problems);
         },
         [this] { showClassPath(); }},
        page);
    auto* classes = new QHBoxLayout;
    classes->addWidget(classesLabel);
    classes->addWidget(m_classes);
    classes->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_about);
    layout->addWidget(m_class, 1);
    layout->addLayout(classes);
    layout->addWidget(m_path, 1);
}

QString ClassTab::chosenClass() const { return m_classes->currentData().toString(); }

void ClassTab::showClasses()
{
    const QString chosen = chosenClass();
    {
        const QSignalBlocker quiet(m_classes);
        m_classes->clear();
        const auto classes = m_store.isOpen() ? m_store.classes() : std::nullopt;
        for (const records::SchoolClass& c : classes.value_or(QList<records::SchoolClass>{}))
            m_classes->addItem(c.name, c.role);
        m_classes->setCurrentIndex(std::max(0, m_classes->findData(chosen)));
    }
    showClassPath();
}

void ClassTab::showClassPath()
{
    const QString role = chosenClass();
    const auto path = role.isEmpty() ? std::nullopt : m_store.classPath(role);
    if (!path) {
        m_path->showNothing();
        return;
    }
    m_dayProblems = path->dayProblems;
    m_path->showPlan(path->path, {}, path->dayProblems, !m_store.isReadOnly());
}

void ClassTab::setService(const QString& service)
{
    m_about->setText(
        QStringLiteral(
            "学校のサーバー（サービス名: %1）の記録です。子どもごと・種類ごとに、"
            "一回目で正解した割合と、最後に練習した日を出しています。「いまのステップ」は"
            "きょうのれんしゅうで取り組んでいる段階、「今週の日数」は月曜日から今日までに"
            "きょうのれんしゅうを終えた日の数です。子どもを選んで "
            "Enter キーを押すか、ダブルクリックすると、その子どものようすを見られます。"
            "記録はここでは見るだけですが、クラスの先生は下で、クラスの道（きょうのステップの固定も"
            "）と"
            "1日の問題数を決められます。クラスの子どもはみな、その道でれんしゅうします。")
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
    showClasses();
}

} // namespace kiroku
