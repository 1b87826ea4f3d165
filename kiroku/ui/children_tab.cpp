// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/children_tab.h"

#include "common/dialogs.h"
#include "kiroku/page_words.h"
#include "kiroku/ui/children_model.h"
#include "kiroku/ui/named_button.h"
#include "records/drill/records_place.h"
#include "records/model/path.h"
#include "records/store/records_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace kiroku {

namespace records = common::records;

namespace {

// A choice of months kept as the adult reads it: "3か月", "1年", "すべて残す".
QString keepingText(int months)
{
    if (months == records::kKeepAll) return QStringLiteral("すべて残す");
    if (months % 12 == 0) return QStringLiteral("%1年").arg(months / 12);
    return QStringLiteral("%1か月").arg(months);
}

} // namespace

ChildrenTab::ChildrenTab(common::Dialogs& dialogs, records::RecordsStore& store,
                         ChildrenModel& children, const QString& file, Window window)
    : m_dialogs(dialogs), m_store(store), m_model(children), m_window(std::move(window))
{
    QWidget* page = this;
    m_switch = new QCheckBox(QStringLiteral("記録をつける"), page);
    m_switch->setAccessibleName(m_switch->text());
    m_switch->setChecked(records::recordsOn());
    connect(m_switch, &QCheckBox::clicked, this, &ChildrenTab::switchRecords);

    auto* about = new QLabel(
        QStringLiteral("記録をつけると、ドリルは子どもごとに、練習したセットと一つ一つの答えを"
                       "残します。記録はこのコンピューターの中だけに置かれ、ほかへ送られることは"
                       "ありません。子どもが二人以上いると、ドリルは始めにだれがやるかをたずね"
                       "ます。答えを残す期間を決めると、それより古い答えは問題ごと・セットごとの"
                       "数にまとめて、一つ一つは消します。\n記録のファイル: %1\n"
                       "記録をつけないときは、ドリルは何も残しません。")
            .arg(QDir::toNativeSeparators(file)),
        page);
    about->setWordWrap(true);
    about->setTextFormat(Qt::PlainText);
    about->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_keeping = new QComboBox(page);
    m_keeping->setAccessibleName(QStringLiteral("答えを残す期間"));
    for (const int months : records::keepingChoices())
        m_keeping->addItem(keepingText(months), months);
    auto* keepingLabel = new QLabel(QStringLiteral("答えを残す期間(&K):"), page);
    keepingLabel->setBuddy(m_keeping);
    connect(m_keeping, &QComboBox::currentIndexChanged, this, &ChildrenTab::changeKeeping);

    m_children = new QListWidget(page);
    m_children->setAccessibleName(QStringLiteral("子どもの一覧"));
    // The child chosen in the list is the one whose page is shown.
    connect(m_children, &QListWidget::currentRowChanged, this,
            [this](int row) { m_model.choose(row); });
    // Enter or a double click on a child opens its page.
    connect(m_children, &QListWidget::itemActivated, this, [this] { m_window.showChildPage(); });
    connect(&m_model, &ChildrenModel::childrenReset, this, &ChildrenTab::showList);
    connect(&m_model, &ChildrenModel::chosenChanged, this, [this](int row) {
        {
            const QSignalBlocker quiet(m_children);
            m_children->setCurrentRow(row);
        }
        updateButtons();
    });
    m_add = namedButton(page, QStringLiteral("追加…"));
    m_rename = namedButton(page, QStringLiteral("名前を変える…"));
    m_delete = namedButton(page, QStringLiteral("削除…"));
    connect(m_add, &QPushButton::clicked, this, &ChildrenTab::addChild);
    connect(m_rename, &QPushButton::clicked, this, &ChildrenTab::renameChild);
    connect(m_delete, &QPushButton::clicked, this, &ChildrenTab::deleteChild);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_add, m_rename, m_delete}) buttons->addWidget(b);
    buttons->addStretch();
    auto* list = new QHBoxLayout;
    list->addWidget(m_children, 1);
    list->addLayout(buttons);
    auto* keeping = new QHBoxLayout;
    keeping->addWidget(keepingLabel);
    keeping->addWidget(m_keeping);
    keeping->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_switch);
    layout->addWidget(about);
    layout->addLayout(keeping);
    layout->addLayout(list, 1);
}

void ChildrenTab::showSwitch() { m_switch->setChecked(records::recordsOn()); }

void ChildrenTab::showList()
{
    {
        const QSignalBlocker quiet(m_children);
        m_children->clear();
        for (const records::Child& child : m_model.children()) {
            auto* item = new QListWidgetItem(child.nickname, m_children);
            item->setData(Qt::UserRole, child.id);
        }
        m_children->setCurrentRow(m_model.chosenRow());
    }
    showKeeping();
    updateButtons();
}

void ChildrenTab::updateButtons()
{
    const bool editable = !m_store.isReadOnly() && !m_store.isServer();
    m_add->setEnabled(editable);
    m_rename->setEnabled(editable && m_children->currentItem());
    m_delete->setEnabled(editable && m_children->currentItem());
}

void ChildrenTab::showKeeping()
{
    const QSignalBlocker quiet(m_keeping);
    const bool open = m_store.isOpen();
    m_keeping->setCurrentIndex(
        std::max(0, m_keeping->findData(open ? m_store.keptMonths() : records::kKeepAll)));
    m_keeping->setEnabled(open && !m_store.isReadOnly() && !m_store.isServer());
}

void ChildrenTab::changeKeeping(int index)
{
    const int months = m_keeping->itemData(index).toInt();
    if (!m_store.isOpen() || months == m_store.keptMonths()) return;
    const QDateTime cutOff = records::keepingCutOff(months, QDate::currentDate());
    const std::optional<qint64> older =
        months == records::kKeepAll ? 0 : m_store.countAnswersBefore(cutOff);
    if (older && *older > 0) {
        const QString question =
            QStringLiteral("%1より古い答え %2 件をまとめて消します。消した答えは元に戻せません。"
                           "よろしいですか？")
                .arg(keepingText(months))
                .arg(*older);
        if (m_dialogs.confirm(m_window.parent, question) != common::Dialogs::Answer::kYes) {
            showKeeping();
            return;
        }
    }
    if (!older || !m_store.setKeptMonths(months)) {
        m_dialogs.warning(m_window.parent,
                          QStringLiteral("答えを残す期間を変えられませんでした（%1）。")
                              .arg(m_store.errorText()));
    } else if (*older > 0 && !m_store.removeAnswersBefore(cutOff)) {
        // The choice stands: a drill removes the rest on a later day.
        m_dialogs.warning(
            m_window.parent,
            QStringLiteral("古い答えをすべては消せませんでした（%1）。").arg(m_store.errorText()));
    }
    showKeeping();
}

void ChildrenTab::switchRecords(bool on)
{
    if (!records::setRecordsOn(on)) {
        m_dialogs.warning(m_window.parent,
                          QStringLiteral("記録をつけるかどうかの設定を保存できませんでした。"));
        const QSignalBlocker quiet(m_switch);
        m_switch->setChecked(records::recordsOn());
        return;
    }
    // The file is there from the moment the drills are to write into it.
    if (on && !m_store.isOpen()) {
        m_window.openForWriting();
        m_window.showChildren(0);
    }
}

QString ChildrenTab::askNickname(const QString& preset)
{
    return m_dialogs.inputBox(m_window.parent, QStringLiteral("ニックネーム"),
                              QStringLiteral("子どものニックネーム（40文字まで）"), preset);
}

void ChildrenTab::addChild()
{
    // Cancel gives back the empty preset: nothing is asked of the store.
    const QString nickname = askNickname({});
    if (nickname.isEmpty()) return;
    // The school year starts the child's path where its class is; it may
    // be left for later (the last choice, or the box closed).
    QStringList years;
    for (int grade = records::kFirstGrade; grade <= records::kLastGrade; ++grade)
        years << gradeText(grade);
    const int year =
        m_dialogs.pick(m_window.parent, QStringLiteral("「%1」は何年生ですか？").arg(nickname),
                       years << QStringLiteral("あとで決める"));
    qint64 id = 0;
    if (m_window.openForWriting()) {
        if (const auto problem = m_store.addChild(nickname, &id))
            m_dialogs.warning(m_window.parent, *problem);
        else if (year >= 0 && year < records::kLastGrade &&
                 !m_store.setGrade(id, records::kFirstGrade + year))
            m_dialogs.warning(
                m_window.parent,
                QStringLiteral("学年を保存できませんでした（%1）。").arg(m_store.errorText()));
    }
    m_window.showChildren(id);
}

void ChildrenTab::renameChild()
{
    const QListWidgetItem* item = m_children->currentItem();
    if (!item) return;
    const qint64 id = item->data(Qt::UserRole).toLongLong();
    const QString nickname = askNickname(item->text());
    if (nickname == item->text()) return;
    if (const auto problem = m_store.renameChild(id, nickname))
        m_dialogs.warning(m_window.parent, *problem);
    m_window.showChildren(id);
}

void ChildrenTab::deleteChild()
{
    const QListWidgetItem* item = m_children->currentItem();
    if (!item) return;
    const QString question =
        QStringLiteral("「%1」の記録をすべて消します。消した記録は元に戻せません。よろしいですか？")
            .arg(item->text());
    if (m_dialogs.confirm(m_window.parent, question) != common::Dialogs::Answer::kYes) return;
    if (!m_store.deleteChild(item->data(Qt::UserRole).toLongLong()))
        m_dialogs.warning(m_window.parent,
                          QStringLiteral("消せませんでした（%1）。").arg(m_store.errorText()));
    m_window.showChildren(0);
}

} // namespace kiroku
