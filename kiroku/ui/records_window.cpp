// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/records_window.h"

#include "common/dialogs.h"
#include "kiroku/page_words.h"
#include "kiroku/report_page.h"
#include "kiroku/ui/child_page_view.h"
#include "records/drill/records_place.h"
#include "records/reads/child_page.h"
#include "records/reads/class_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace kiroku {

namespace records = common::records;

namespace {

QPushButton* namedButton(QWidget* parent, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(text);
    return button;
}

// A choice of months kept as the adult reads it: "3か月", "1年", "すべて残す".
QString keepingText(int months)
{
    if (months == records::kKeepAll) return QStringLiteral("すべて残す");
    if (months % 12 == 0) return QStringLiteral("%1年").arg(months / 12);
    return QStringLiteral("%1か月").arg(months);
}

} // namespace

RecordsWindow::RecordsWindow(common::Dialogs& dialogs, QString file, QWidget* parent,
                             common::PageSurfaceFactory pages)
    : QWidget(parent), m_dialogs(dialogs), m_file(std::move(file)),
      m_printFlow(dialogs, std::move(pages))
{
    setWindowTitle(QStringLiteral("学習の記録"));
    m_school = new QCheckBox(QStringLiteral("学校のサーバーの記録を見る"), this);
    m_school->setAccessibleName(m_school->text());
    connect(m_school, &QCheckBox::clicked, this, &RecordsWindow::switchSchool);
    m_pages = new QTabWidget(this);
    m_pages->setAccessibleName(QStringLiteral("記録のページ"));
    // Every page is the tab widget's from the start; showPlace() shows
    // those of the place the records are in.
    m_childrenTab = makeChildrenPage();
    m_classTab = makeClassPage();
    m_pages->addTab(m_childrenTab, {});
    m_pages->addTab(m_classTab, {});
    m_pages->addTab(makeChildPage(), QStringLiteral("子どものようす"));
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        showClass();
        showChildPage();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_school);
    layout->addWidget(m_pages);
    resize(820, 640);

    m_service = records::recordsServer();
    openRecords();
}

void RecordsWindow::openRecords()
{
    m_store.close();
    if (!m_service.isEmpty())
        tellOpening(m_store, m_store.openServer(m_service));
    else if (const auto opening = m_store.openExisting(m_file))
        tellOpening(m_store, *opening);
    showPlace();
    showChildren();
}

void RecordsWindow::showPlace()
{
    const bool school = !m_service.isEmpty();
    m_school->setChecked(school);
    m_classAbout->setText(
        QStringLiteral("学校のサーバー（サービス名: %1）の記録です。子どもごと・種類ごとに、"
                       "一回目で正解した割合と、最後に練習した日を出しています。子どもを選んで "
                       "Enter キーを押すか、ダブルクリックすると、その子どものようすを見られます。"
                       "ここでは記録を見るだけで、変えることはできません。")
            .arg(m_service));
    const QSignalBlocker quiet(m_pages);
    m_pages->clear();
    if (school)
        m_pages->addTab(m_classTab, QStringLiteral("クラス"));
    else
        m_pages->addTab(m_childrenTab, QStringLiteral("子ども"));
    m_pages->addTab(m_childTab, QStringLiteral("子どものようす"));
    m_pages->setCurrentIndex(0);
}

void RecordsWindow::switchSchool(bool on)
{
    QString service;
    if (on) {
        service = m_dialogs
                      .inputBox(this, QStringLiteral("学校のサーバー"),
                                QStringLiteral("サービス名（pg_service.conf の名前）:"), {})
                      .trimmed();
        // Tried before it is saved: a name the server refuses changes nothing.
        records::RecordsStore trial;
        const records::Opening opening =
            service.isEmpty() ? records::Opening::kFailed : trial.openServer(service);
        if (opening == records::Opening::kFailed) {
            if (!service.isEmpty()) tellOpening(trial, opening);
            m_school->setChecked(false);
            return;
        }
    }
    if (!records::setRecordsServer(service) || (on && !records::setRecordsOn(true)))
        m_dialogs.warning(this, QStringLiteral("記録の場所の設定を保存できませんでした。"));
    m_service = records::recordsServer();
    m_switch->setChecked(records::recordsOn());
    openRecords();
}

QWidget* RecordsWindow::makeChildrenPage()
{
    auto* page = new QWidget;
    m_switch = new QCheckBox(QStringLiteral("記録をつける"), page);
    m_switch->setAccessibleName(m_switch->text());
    m_switch->setChecked(records::recordsOn());
    connect(m_switch, &QCheckBox::clicked, this, &RecordsWindow::switchRecords);

    auto* about = new QLabel(
        QStringLiteral("記録をつけると、ドリルは子どもごとに、練習したセットと一つ一つの答えを"
                       "残します。記録はこのコンピューターの中だけに置かれ、ほかへ送られることは"
                       "ありません。子どもが二人以上いると、ドリルは始めにだれがやるかをたずね"
                       "ます。答えを残す期間を決めると、それより古い答えは問題ごと・セットごとの"
                       "数にまとめて、一つ一つは消します。\n記録のファイル: %1\n"
                       "記録をつけないときは、ドリルは何も残しません。")
            .arg(QDir::toNativeSeparators(m_file)),
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
    connect(m_keeping, &QComboBox::currentIndexChanged, this, &RecordsWindow::changeKeeping);

    m_children = new QListWidget(page);
    m_children->setAccessibleName(QStringLiteral("子どもの一覧"));
    connect(m_children, &QListWidget::currentRowChanged, this, &RecordsWindow::updateButtons);
    connect(m_children, &QListWidget::currentRowChanged, this, &RecordsWindow::chooseFromList);
    // Enter or a double click on a child opens its page.
    connect(m_children, &QListWidget::itemActivated, this,
            [this] { m_pages->setCurrentWidget(m_childTab); });
    m_add = namedButton(page, QStringLiteral("追加…"));
    m_rename = namedButton(page, QStringLiteral("名前を変える…"));
    m_delete = namedButton(page, QStringLiteral("削除…"));
    connect(m_add, &QPushButton::clicked, this, &RecordsWindow::addChild);
    connect(m_rename, &QPushButton::clicked, this, &RecordsWindow::renameChild);
    connect(m_delete, &QPushButton::clicked, this, &RecordsWindow::deleteChild);

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
    return page;
}

QWidget* RecordsWindow::makeClassPage()
{
    auto* page = new QWidget;
    m_classAbout = new QLabel(page);
    m_classAbout->setWordWrap(true);
    m_classAbout->setTextFormat(Qt::PlainText);
    m_classAbout->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_class = new QTableWidget(page);
    m_class->setAccessibleName(QStringLiteral("クラスのようす"));
    m_class->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_class->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_class->setSelectionMode(QAbstractItemView::SingleSelection);
    m_class->verticalHeader()->hide();
    // Enter or a double click on a child opens its page.
    connect(m_class, &QTableWidget::cellActivated, this, [this](int row) {
        const int index = m_chooser->findData(m_class->item(row, 0)->data(Qt::UserRole));
        if (index < 0) return;
        m_chooser->setCurrentIndex(index);
        m_pages->setCurrentWidget(m_childTab);
    });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_classAbout);
    layout->addWidget(m_class, 1);
    return page;
}

void RecordsWindow::showClass()
{
    if (m_pages->currentWidget() != m_classTab) return;
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

QWidget* RecordsWindow::makeChildPage()
{
    m_childTab = new QWidget;
    m_chooser = new QComboBox(m_childTab);
    m_chooser->setAccessibleName(QStringLiteral("ようすを見る子ども"));
    auto* label = new QLabel(QStringLiteral("子ども(&C):"), m_childTab);
    label->setBuddy(m_chooser);
    connect(m_chooser, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_children->setCurrentRow(index);
        showChildPage();
    });

    m_childPage = new ChildPageView;
    m_childPage->setObjectName(QStringLiteral("childPage"));
    // The page is taller than the window: it scrolls as a whole.
    auto* scroll = new QScrollArea(m_childTab);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_childPage);
    scroll->setAccessibleName(QStringLiteral("子どものようす"));

    // The report of the child shown, for paper: the message line beside the
    // button says so while it prints.
    m_print = namedButton(m_childTab, QStringLiteral("印刷…"));
    connect(m_print, &QPushButton::clicked, this, &RecordsWindow::printReport);
    m_printMessage = new QLineEdit(m_childTab);
    m_printMessage->setReadOnly(true);
    m_printMessage->setFrame(false);
    m_printMessage->setFocusPolicy(Qt::NoFocus);
    m_printMessage->setAccessibleName(QStringLiteral("印刷のようす"));

    // The time limit of the child's recall facts: the base an adult sets,
    // and the child's own keying added to it.
    m_pace = new QLabel(m_childTab);
    m_baseLimit = new QComboBox(m_childTab);
    m_baseLimit->setAccessibleName(QStringLiteral("思い出す時間の目安"));
    for (const int ms : records::kBaseLimitSteps) m_baseLimit->addItem(secondsText(ms), ms);
    auto* limitLabel = new QLabel(QStringLiteral("思い出す時間の目安(&L):"), m_childTab);
    limitLabel->setBuddy(m_baseLimit);
    connect(m_baseLimit, &QComboBox::currentIndexChanged, this, &RecordsWindow::changeBaseLimit);
    m_adopt = namedButton(m_childTab, QStringLiteral("速さも見るルールにする…"));
    connect(m_adopt, &QPushButton::clicked, this, &RecordsWindow::adoptSpeedRule);

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
    auto* layout = new QVBoxLayout(m_childTab);
    layout->addLayout(chooser);
    layout->addWidget(scroll, 1);
    return m_childTab;
}

bool RecordsWindow::openForWriting()
{
    if (!m_store.isOpen()) tellOpening(m_store, m_store.open(m_file));
    return m_store.isOpen() && !m_store.isReadOnly();
}

void RecordsWindow::tellOpening(records::RecordsStore& store, records::Opening opening)
{
    if (opening == records::Opening::kFailed)
        std::fprintf(stderr, "%s: cannot open the records: %s\n",
                     qPrintable(QCoreApplication::applicationName()),
                     store.errorText().toLocal8Bit().constData());
    if (const auto warning = store.openingWarning(opening)) m_dialogs.warning(this, *warning);
    // A server keeps no notices for the adult: they belong to a family's file.
    if (!store.isOpen() || store.isServer()) return;
    const QStringList notices = store.takeNotices();
    if (!notices.isEmpty()) m_dialogs.information(this, notices.join(QStringLiteral("\n\n")));
}

void RecordsWindow::showChildren(qint64 current)
{
    {
        // The list and the chooser hold the same children in the same order.
        const QSignalBlocker quietList(m_children);
        const QSignalBlocker quietChooser(m_chooser);
        m_children->clear();
        m_chooser->clear();
        if (m_store.isOpen()) {
            for (const records::Child& child : m_store.children()) {
                auto* item = new QListWidgetItem(child.nickname, m_children);
                item->setData(Qt::UserRole, child.id);
                m_chooser->addItem(child.nickname, child.id);
                if (child.id == current) m_children->setCurrentItem(item);
            }
        }
        m_chooser->setCurrentIndex(m_children->currentRow());
    }
    showKeeping();
    updateButtons();
    showClass();
    showChildPage();
}

void RecordsWindow::updateButtons()
{
    const bool editable = !m_store.isReadOnly() && !m_store.isServer();
    m_add->setEnabled(editable);
    m_rename->setEnabled(editable && m_children->currentItem());
    m_delete->setEnabled(editable && m_children->currentItem());
}

void RecordsWindow::chooseFromList() { m_chooser->setCurrentIndex(m_children->currentRow()); }

void RecordsWindow::showChildPage()
{
    if (m_pages->currentWidget() != m_childTab) return;
    // Opened with no child chosen: the first child's page, shown through the
    // chooser's signal.
    if (m_chooser->currentIndex() < 0 && m_chooser->count() > 0) {
        m_chooser->setCurrentIndex(0);
        return;
    }
    const QVariant child = m_chooser->currentData();
    m_print->setEnabled(m_store.isOpen() && child.isValid());
    if (!m_store.isOpen() || !child.isValid()) {
        m_childPage->showPage({});
        return;
    }
    const records::ChildPage page = records::readChildPage(m_store.connection(), child.toLongLong(),
                                                           QDateTime::currentDateTimeUtc());
    {
        const QSignalBlocker quiet(m_baseLimit);
        m_baseLimit->setCurrentIndex(m_baseLimit->findData(page.pace.baseMs));
    }
    // A school's server is its administrator's to change.
    m_baseLimit->setEnabled(!m_store.isServer() && !m_store.isReadOnly());
    m_pace->setText(paceText(page.pace));
    m_adopt->setVisible(!page.rule.timed && !m_store.isServer() && !m_store.isReadOnly());
    m_childPage->showPage(page);
}

void RecordsWindow::changeBaseLimit(int index)
{
    const QVariant child = m_chooser->currentData();
    if (index < 0 || !child.isValid() || !openForWriting()) return;
    if (!m_store.setBaseLimit(child.toLongLong(), m_baseLimit->itemData(index).toInt()))
        m_dialogs.warning(this, QStringLiteral("目安を変えられませんでした。"));
    showChildPage();
}

void RecordsWindow::adoptSpeedRule()
{
    const QString question = QStringLiteral(
        "これからは、九九などの覚えておく計算は、正しく答えられて、しかも目安の時間の中で"
        "答えられたときに「できた」になります。正しくても時間がかかるときは「ゆっくり」に"
        "なります。これまでの記録は書きかえません。このルールにしますか？");
    if (m_dialogs.confirm(this, question) != common::Dialogs::Answer::kYes) return;
    if (!openForWriting() || !m_store.adoptSpeedRule())
        m_dialogs.warning(this, QStringLiteral("ルールを変えられませんでした。"));
    showChildPage();
}

void RecordsWindow::printReport()
{
    const QVariant child = m_chooser->currentData();
    if (!m_store.isOpen() || !child.isValid()) return;
    const QString nickname = m_chooser->currentText();
    const common::PrintTexts texts{{},
                                   QStringLiteral("「%1」の記録を印刷しますか？").arg(nickname),
                                   QStringLiteral("印刷中です…")};
    m_printFlow.run(this, m_printMessage, texts, [&](common::PageSurface& surface) {
        return printReports(surface, {readReport(m_store.connection(), child.toLongLong(), nickname,
                                                 QDateTime::currentDateTimeUtc())});
    });
}

void RecordsWindow::showKeeping()
{
    const QSignalBlocker quiet(m_keeping);
    const bool open = m_store.isOpen();
    m_keeping->setCurrentIndex(
        std::max(0, m_keeping->findData(open ? m_store.keptMonths() : records::kKeepAll)));
    m_keeping->setEnabled(open && !m_store.isReadOnly() && !m_store.isServer());
}

void RecordsWindow::changeKeeping(int index)
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
        if (m_dialogs.confirm(this, question) != common::Dialogs::Answer::kYes) {
            showKeeping();
            return;
        }
    }
    if (!older || !m_store.setKeptMonths(months)) {
        m_dialogs.warning(this, QStringLiteral("答えを残す期間を変えられませんでした（%1）。")
                                    .arg(m_store.errorText()));
    } else if (*older > 0 && !m_store.removeAnswersBefore(cutOff)) {
        // The choice stands: a drill removes the rest on a later day.
        m_dialogs.warning(
            this,
            QStringLiteral("古い答えをすべては消せませんでした（%1）。").arg(m_store.errorText()));
    }
    showKeeping();
}

void RecordsWindow::switchRecords(bool on)
{
    if (!records::setRecordsOn(on)) {
        m_dialogs.warning(this,
                          QStringLiteral("記録をつけるかどうかの設定を保存できませんでした。"));
        const QSignalBlocker quiet(m_switch);
        m_switch->setChecked(records::recordsOn());
        return;
    }
    // The file is there from the moment the drills are to write into it.
    if (on && !m_store.isOpen()) {
        openForWriting();
        showChildren();
    }
}

QString RecordsWindow::askNickname(const QString& preset)
{
    return m_dialogs.inputBox(this, QStringLiteral("ニックネーム"),
                              QStringLiteral("子どものニックネーム（40文字まで）"), preset);
}

void RecordsWindow::addChild()
{
    // Cancel gives back the empty preset: nothing is asked of the store.
    const QString nickname = askNickname({});
    if (nickname.isEmpty()) return;
    qint64 id = 0;
    if (openForWriting()) {
        if (const auto problem = m_store.addChild(nickname, &id)) m_dialogs.warning(this, *problem);
    }
    showChildren(id);
}

void RecordsWindow::renameChild()
{
    const QListWidgetItem* item = m_children->currentItem();
    if (!item) return;
    const qint64 id = item->data(Qt::UserRole).toLongLong();
    const QString nickname = askNickname(item->text());
    if (nickname == item->text()) return;
    if (const auto problem = m_store.renameChild(id, nickname)) m_dialogs.warning(this, *problem);
    showChildren(id);
}

void RecordsWindow::deleteChild()
{
    const QListWidgetItem* item = m_children->currentItem();
    if (!item) return;
    const QString question =
        QStringLiteral("「%1」の記録をすべて消します。消した記録は元に戻せません。よろしいですか？")
            .arg(item->text());
    if (m_dialogs.confirm(this, question) != common::Dialogs::Answer::kYes) return;
    if (!m_store.deleteChild(item->data(Qt::UserRole).toLongLong()))
        m_dialogs.warning(this,
                          QStringLiteral("消せませんでした（%1）。").arg(m_store.errorText()));
    showChildren();
}

} // namespace kiroku
