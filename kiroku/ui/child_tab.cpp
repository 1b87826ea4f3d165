// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/child_tab.h"

#include "common/dialogs.h"
#include "kiroku/page_words.h"
#include "kiroku/report_page.h"
#include "kiroku/ui/child_page_view.h"
#include "kiroku/ui/children_model.h"
#include "kiroku/ui/named_button.h"
#include "kiroku/ui/path_editor.h"
#include "records/model/fluency.h"
#include "records/reads/child_page.h"
#include "records/reads/path_page.h"
#include "records/store/records_store.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kiroku {

namespace records = common::records;

ChildTab::ChildTab(common::Dialogs& dialogs, records::RecordsStore& store, ChildrenModel& children,
                   QWidget* window, std::function<bool()> current,
                   std::function<bool()> openForWriting, common::PageSurfaceFactory pages)
    : m_dialogs(dialogs), m_store(store), m_model(children), m_window(window),
      m_current(std::move(current)), m_openForWriting(std::move(openForWriting)),
      m_printFlow(dialogs, std::move(pages))
{
    QWidget* page = this;
    m_chooser = new QComboBox(page);
    m_chooser->setAccessibleName(QStringLiteral("ようすを見る子ども"));
    auto* label = new QLabel(QStringLiteral("子ども(&C):"), page);
    label->setBuddy(m_chooser);
    connect(m_chooser, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model.choose(index); });
    connect(&m_model, &ChildrenModel::childrenReset, this, &ChildTab::showChooser);
    connect(&m_model, &ChildrenModel::chosenChanged, this, [this](int row) {
        {
            const QSignalBlocker quiet(m_chooser);
            m_chooser->setCurrentIndex(row);
        }
        showPage();
    });

    m_childPage = new ChildPageView;
    m_childPage->setObjectName(QStringLiteral("childPage"));
    // The page is taller than the window: it scrolls as a whole.
    auto* scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_childPage);
    scroll->setAccessibleName(QStringLiteral("子どものようす"));

    // The report of the child shown, for paper: the message line beside the
    // button says so while it prints.
    m_print = namedButton(page, QStringLiteral("印刷…"));
    connect(m_print, &QPushButton::clicked, this, &ChildTab::printReport);
    m_printMessage = new QLineEdit(page);
    m_printMessage->setReadOnly(true);
    m_printMessage->setFrame(false);
    m_printMessage->setFocusPolicy(Qt::NoFocus);
    m_printMessage->setAccessibleName(QStringLiteral("印刷のようす"));

    // The time limit of the child's recall facts: the base an adult sets,
    // and the child's own keying added to it.
    m_pace = new QLabel(page);
    m_baseLimit = new QComboBox(page);
    m_baseLimit->setAccessibleName(QStringLiteral("思い出す時間の目安"));
    for (const int ms : records::kBaseLimitSteps) m_baseLimit->addItem(secondsText(ms), ms);
    auto* limitLabel = new QLabel(QStringLiteral("思い出す時間の目安(&L):"), page);
    limitLabel->setBuddy(m_baseLimit);
    connect(m_baseLimit, &QComboBox::currentIndexChanged, this, &ChildTab::changeBaseLimit);
    m_adopt = namedButton(page, QStringLiteral("速さも見るルールにする…"));
    connect(m_adopt, &QPushButton::clicked, this, &ChildTab::adoptSpeedRule);

    // The child's way through the day's practice, as the adult sets it.
    auto* plan = new QWidget(page);
    m_grade = new QComboBox(plan);
    m_grade->setAccessibleName(QStringLiteral("学年"));
    m_grade->addItem(gradeText(std::nullopt), 0);
    for (int grade = records::kFirstGrade; grade <= records::kLastGrade; ++grade)
        m_grade->addItem(gradeText(grade), grade);
    auto* gradeLabel = new QLabel(QStringLiteral("学年(&G):"), plan);
    gradeLabel->setBuddy(m_grade);
    connect(m_grade, &QComboBox::activated, this, &ChildTab::changeGrade);
    const auto saved = [this](auto write) {
        return shownChild() != 0 && m_openForWriting() && write(shownChild());
    };
    m_path = new PathEditor(
        m_dialogs,
        {m_window,
         [this, saved](const records::Path& path) {
             return saved([&](qint64 child) { return m_store.setPath(child, path); });
         },
         [this, saved] { return saved([&](qint64 child) { return m_store.resetPath(child); }); },
         [this, saved](int problems) {
             return saved([&](qint64 child) { return m_store.setDayProblems(child, problems); });
         },
         [this] { showPlan(); }},
        plan);
    auto* gradeRow = new QHBoxLayout;
    gradeRow->addWidget(gradeLabel);
    gradeRow->addWidget(m_grade);
    gradeRow->addStretch();
    auto* planLayout = new QVBoxLayout(plan);
    planLayout->addLayout(gradeRow);
    planLayout->addWidget(m_path, 1);
    auto* parts = new QTabWidget(page);
    parts->setAccessibleName(QStringLiteral("子どものページ"));
    parts->addTab(scroll, QStringLiteral("ようす"));
    parts->addTab(plan, QStringLiteral("道と1日の問題数"));

    auto* chooser = new QHBoxLayout;
    chooser->addWidget(label);
    chooser->addWidget(m_chooser);
    chooser->addWidget(limitLabel);
    chooser->addWidget(m_baseLimit);
    chooser->addWidget(m_pace);
    chooser->addWidget(m_adopt);
    chooser->addStretch();
    chooser->addWidget(m_printMessage);
    chooser->addWidget(m_print);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(chooser);
    layout->addWidget(parts, 1);
}

void ChildTab::showChooser()
{
    {
        const QSignalBlocker quiet(m_chooser);
        m_chooser->clear();
        for (const records::Child& child : m_model.children())
            m_chooser->addItem(child.nickname, child.id);
        m_chooser->setCurrentIndex(m_model.chosenRow());
    }
    showPage();
}

void ChildTab::showPage()
{
    if (!m_current()) return;
    // Opened with no child chosen: the first child's page, shown as the
    // model chooses it.
    if (m_model.chosenRow() < 0 && !m_model.children().isEmpty()) {
        m_model.choose(0);
        return;
    }
    const qint64 child = shownChild();
    m_print->setEnabled(child != 0);
    showPlan();
    if (child == 0) {
        m_childPage->showPage({});
        m_childPage->showPath(std::nullopt);
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const records::ChildPage page = records::readChildPage(m_store.connection(), child, now);
    {
        const QSignalBlocker quiet(m_baseLimit);
        m_baseLimit->setCurrentIndex(m_baseLimit->findData(page.pace.baseMs));
    }
    // A school's server is its administrator's to change.
    m_baseLimit->setEnabled(!m_store.isServer() && !m_store.isReadOnly());
    m_pace->setText(paceText(page.pace));
    m_adopt->setVisible(!page.rule.timed && !m_store.isServer() && !m_store.isReadOnly());
    m_childPage->showPage(page);
    m_childPage->showPath(
        records::readPathPage(m_store.connection(), child, now.toLocalTime().date()));
}

qint64 ChildTab::shownChild() const
{
    const QVariant child = m_chooser->currentData();
    return m_store.isOpen() && child.isValid() ? child.toLongLong() : 0;
}

// A school's server is its administrator's and the class teacher's to
// change (the class's page); a read-only file nobody's.
bool ChildTab::editable() const { return !m_store.isServer() && !m_store.isReadOnly(); }

void ChildTab::showPlan()
{
    const qint64 child = shownChild();
    const std::optional<records::ChildPlan> plan =
        child != 0 ? m_store.childPlan(child) : std::nullopt;
    {
        const QSignalBlocker quiet(m_grade);
        m_grade->setCurrentIndex(plan ? m_grade->findData(plan->grade.value_or(0)) : 0);
    }
    m_grade->setEnabled(plan && editable());
    if (!plan) {
        m_path->showNothing();
        return;
    }
    m_path->showPlan(plan->path, plan->passed, plan->dayProblems, editable());
}

void ChildTab::changeGrade(int index)
{
    const qint64 child = shownChild();
    if (index < 0 || child == 0 || !m_openForWriting()) return;
    const int grade = m_grade->itemData(index).toInt();
    if (!m_store.setGrade(child, grade == 0 ? std::nullopt : std::optional<int>(grade)))
        m_dialogs.warning(m_window, QStringLiteral("学年を変えられませんでした。"));
    showPlan();
}

void ChildTab::changeBaseLimit(int index)
{
    const QVariant child = m_chooser->currentData();
    if (index < 0 || !child.isValid() || !m_openForWriting()) return;
    if (!m_store.setBaseLimit(child.toLongLong(), m_baseLimit->itemData(index).toInt()))
        m_dialogs.warning(m_window, QStringLiteral("目安を変えられませんでした。"));
    showPage();
}

void ChildTab::adoptSpeedRule()
{
    const QString question = QStringLiteral(
        "これからは、九九などの覚えておく計算は、正しく答えられて、しかも目安の時間の中で"
        "答えられたときに「できた」になります。正しくても時間がかかるときは「ゆっくり」に"
        "なります。これまでの記録は書きかえません。このルールにしますか？");
    if (m_dialogs.confirm(m_window, question) != common::Dialogs::Answer::kYes) return;
    if (!m_openForWriting() || !m_store.adoptSpeedRule())
        m_dialogs.warning(m_window, QStringLiteral("ルールを変えられませんでした。"));
    showPage();
}

void ChildTab::printReport()
{
    const QVariant child = m_chooser->currentData();
    if (!m_store.isOpen() || !child.isValid()) return;
    const QString nickname = m_chooser->currentText();
    const common::PrintTexts texts{{},
                                   QStringLiteral("「%1」の記録を印刷しますか？").arg(nickname),
                                   QStringLiteral("印刷中です…")};
    m_printFlow.run(m_window, m_printMessage, texts, [&](common::PageSurface& surface) {
        return printReports(surface, {readReport(m_store.connection(), child.toLongLong(), nickname,
                                                 QDateTime::currentDateTimeUtc())});
    });
}

} // namespace kiroku
