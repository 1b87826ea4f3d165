// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/path_editor.h"

#include "common/dialogs.h"
#include "kiroku/page_words.h"
#include "records/model/day_plan.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kiroku {

namespace records = common::records;

namespace {

// A button known by its name, pressed from the keyboard with Alt and `key`
// ("上へ(&U)"); checkable ones say whether the step chosen is so.
QPushButton* pathButton(QWidget* parent, const QString& name, QChar key, bool checkable = false)
{
    auto* button = new QPushButton(name + QStringLiteral("(&") + key + u')', parent);
    button->setAccessibleName(name);
    button->setCheckable(checkable);
    return button;
}

// What the list says of a step, after its name.
QString stepState(const records::PathStep& step, const records::Path& path,
                  const QStringList& passed, const std::optional<QString>& current)
{
    QStringList words;
    if (step.skipped) words << QStringLiteral("とばす");
    if (passed.contains(step.key)) words << QStringLiteral("できた");
    if (path.pinned == step.key)
        words << QStringLiteral("きょうのステップ（固定）");
    else if (current == step.key)
        words << QStringLiteral("いまのステップ");
    return words.join(u'、');
}

} // namespace

PathEditor::PathEditor(common::Dialogs& dialogs, Owner owner, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_owner(std::move(owner))
{
    m_current = new QLabel(this);
    m_steps = new QTreeWidget(this);
    m_steps->setAccessibleName(QStringLiteral("れんしゅうの道"));
    m_steps->setHeaderLabels(
        {QStringLiteral("順番"), QStringLiteral("ステップ"), QStringLiteral("ようす")});
    m_steps->setRootIsDecorated(false);
    m_steps->setUniformRowHeights(true);
    m_steps->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* stepsLabel = new QLabel(QStringLiteral("れんしゅうの道(&W):"), this);
    stepsLabel->setBuddy(m_steps);
    connect(m_steps, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) m_chosen = item->data(0, Qt::UserRole).toString();
        updateButtons();
    });

    m_up = pathButton(this, QStringLiteral("上へ"), u'U');
    m_down = pathButton(this, QStringLiteral("下へ"), u'D');
    m_skip = pathButton(this, QStringLiteral("とばす"), u'S', true);
    m_pin = pathButton(this, QStringLiteral("きょうのステップにする"), u'P', true);
    m_reset = pathButton(this, QStringLiteral("はじめの道にもどす…"), u'R');
    connect(m_up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { move(1); });
    connect(m_skip, &QPushButton::clicked, this, &PathEditor::skip);
    connect(m_pin, &QPushButton::clicked, this, &PathEditor::pin);
    connect(m_reset, &QPushButton::clicked, this, &PathEditor::resetPath);
    // In the list, Ctrl with an arrow carries the step chosen along.
    const auto moveKey = [this](QKeyCombination key, int by) {
        auto* shortcut = new QShortcut(key, m_steps, nullptr, nullptr, Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, by] {
            if (m_editable) move(by);
        });
    };
    moveKey(Qt::CTRL | Qt::Key_Up, -1);
    moveKey(Qt::CTRL | Qt::Key_Down, 1);

    m_dayProblems = new QComboBox(this);
    m_dayProblems->setAccessibleName(QStringLiteral("1日の問題数"));
    for (const int problems : records::kDayProblemChoices)
        m_dayProblems->addItem(dayProblemsText(problems), problems);
    auto* lengthLabel = new QLabel(QStringLiteral("1日の問題数(&N):"), this);
    lengthLabel->setBuddy(m_dayProblems);
    connect(m_dayProblems, &QComboBox::activated, this, &PathEditor::changeDayProblems);

    auto* length = new QHBoxLayout;
    length->addWidget(lengthLabel);
    length->addWidget(m_dayProblems);
    length->addStretch();
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_up, m_down, m_skip, m_pin, m_reset}) buttons->addWidget(b);
    buttons->addStretch();
    auto* steps = new QHBoxLayout;
    steps->addWidget(m_steps, 1);
    steps->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(length);
    layout->addWidget(m_current);
    layout->addWidget(stepsLabel);
    layout->addLayout(steps, 1);
    showNothing();
}

void PathEditor::showPlan(const records::Path& path, const QStringList& passed, int dayProblems,
                          bool editable)
{
    m_path = path;
    m_passed = passed;
    m_editable = editable;
    const std::optional<QString> current = records::currentStep(m_path, m_passed);
    m_current->setText(current ? QStringLiteral("いまのステップ: ") + stepName(*current)
                               : QStringLiteral("いまのステップ: なし（すべてできたか、とばす）"));
    {
        const QSignalBlocker quiet(m_dayProblems);
        m_dayProblems->setCurrentIndex(m_dayProblems->findData(dayProblems));
    }
    m_dayProblems->setEnabled(editable);
    if (m_chosen.isEmpty() && current) m_chosen = *current;
    showSteps();
}

void PathEditor::showNothing()
{
    m_chosen.clear();
    showPlan({}, {}, records::kDefaultDayProblems, false);
    m_current->clear();
}

void PathEditor::showSteps()
{
    const std::optional<QString> current = records::currentStep(m_path, m_passed);
    const QSignalBlocker quiet(m_steps);
    m_steps->clear();
    QTreeWidgetItem* chosen = nullptr;
    for (int i = 0; i < m_path.steps.size(); ++i) {
        const records::PathStep& step = m_path.steps[i];
        auto* item = new QTreeWidgetItem(m_steps, {QString::number(i + 1), stepName(step.key),
                                                   stepState(step, m_path, m_passed, current)});
        item->setData(0, Qt::UserRole, step.key);
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        // A skipped step reads as left out, in grey, not in a warning colour.
        if (step.skipped)
            for (int c = 0; c < item->columnCount(); ++c)
                item->setForeground(c, palette().color(QPalette::Disabled, QPalette::Text));
        if (step.key == m_chosen) chosen = item;
    }
    if (chosen) {
        m_steps->setCurrentItem(chosen);
        m_steps->scrollToItem(chosen);
    }
    updateButtons();
}

int PathEditor::chosenRow() const
{
    QTreeWidgetItem* item = m_steps->currentItem();
    return item ? m_steps->indexOfTopLevelItem(item) : -1;
}

void PathEditor::updateButtons()
{
    const int row = chosenRow();
    const bool chosen = m_editable && row >= 0;
    m_up->setEnabled(chosen && row > 0);
    m_down->setEnabled(chosen && row + 1 < m_path.steps.size());
    m_skip->setEnabled(chosen);
    m_skip->setChecked(chosen && m_path.steps[row].skipped);
    m_pin->setEnabled(chosen);
    m_pin->setChecked(chosen && m_path.pinned == m_path.steps[row].key);
    m_reset->setEnabled(m_editable);
}

void PathEditor::move(int by)
{
    const int row = chosenRow();
    if (row < 0 || row + by < 0 || row + by >= m_path.steps.size()) return;
    records::Path moved = m_path;
    moved.steps.swapItemsAt(row, row + by);
    save(moved);
}

void PathEditor::skip(bool skipped)
{
    const int row = chosenRow();
    if (row < 0) return;
    records::Path changed = m_path;
    changed.steps[row].skipped = skipped;
    // A step left out is no longer the day's.
    if (skipped && changed.pinned == changed.steps[row].key) changed.pinned.clear();
    save(changed);
}

void PathEditor::pin(bool pinned)
{
    const int row = chosenRow();
    if (row < 0) return;
    records::Path changed = m_path;
    changed.pinned = pinned ? changed.steps[row].key : QString();
    // The day's step is one the child takes.
    if (pinned) changed.steps[row].skipped = false;
    save(changed);
}

void PathEditor::save(const records::Path& path)
{
    if (!m_owner.setPath(path))
        m_dialogs.warning(m_owner.window, QStringLiteral("道を保存できませんでした。"));
    m_owner.showAgain();
    m_steps->setFocus();
}

void PathEditor::resetPath()
{
    const QString question =
        QStringLiteral("道をはじめの順番にもどします。とばしたステップと"
                       "きょうのステップの固定もなくなります。できたステップはそのままです。"
                       "よろしいですか？");
    if (m_dialogs.confirm(m_owner.window, question) != common::Dialogs::Answer::kYes) return;
    if (!m_owner.resetPath())
        m_dialogs.warning(m_owner.window, QStringLiteral("道をもどせませんでした。"));
    m_owner.showAgain();
}

void PathEditor::changeDayProblems(int index)
{
    if (index < 0) return;
    if (!m_owner.setDayProblems(m_dayProblems->itemData(index).toInt()))
        m_dialogs.warning(m_owner.window, QStringLiteral("1日の問題数を変えられませんでした。"));
    m_owner.showAgain();
}

} // namespace kiroku
