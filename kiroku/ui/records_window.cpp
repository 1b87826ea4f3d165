// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/ui/records_window.h"

#include "common/dialogs.h"
#include "kiroku/ui/child_tab.h"
#include "kiroku/ui/children_tab.h"
#include "kiroku/ui/class_tab.h"
#include "records/drill/records_place.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdio>

namespace kiroku {

namespace records = common::records;

RecordsWindow::RecordsWindow(common::Dialogs& dialogs, QString file, QWidget* parent,
                             common::PageSurfaceFactory pages)
    : QWidget(parent), m_dialogs(dialogs), m_file(std::move(file))
{
    setWindowTitle(QStringLiteral("学習の記録"));
    m_school = new QCheckBox(QStringLiteral("学校のサーバーの記録を見る"), this);
    m_school->setAccessibleName(m_school->text());
    connect(m_school, &QCheckBox::clicked, this, &RecordsWindow::switchSchool);
    m_pages = new QTabWidget(this);
    m_pages->setAccessibleName(QStringLiteral("記録のページ"));
    // Every page is the tab widget's from the start; showPlace() shows
    // those of the place the records are in.
    const auto showChildPage = [this] { m_pages->setCurrentWidget(m_childTab); };
    m_childrenTab = new ChildrenTab(m_dialogs, m_store, m_children, m_file,
                                    {this, [this] { return openForWriting(); },
                                     [this](qint64 id) { showChildren(id); }, showChildPage});
    m_classTab = new ClassTab(m_dialogs, m_store, m_children, this, showChildPage);
    m_childTab = new ChildTab(
        m_dialogs, m_store, m_children, this,
        [this] { return m_pages->currentWidget() == m_childTab; },
        [this] { return openForWriting(); }, std::move(pages));
    m_pages->addTab(m_childrenTab, {});
    m_pages->addTab(m_classTab, {});
    m_pages->addTab(m_childTab, QStringLiteral("子どものようす"));
    connect(m_pages, &QTabWidget::currentChanged, this, [this] {
        showClass();
        m_childTab->showPage();
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
    m_classTab->setService(m_service);
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
    m_childrenTab->showSwitch();
    openRecords();
}

void RecordsWindow::showClass()
{
    if (m_pages->currentWidget() == m_classTab) m_classTab->showClass();
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
    // The list and the chooser follow the one model of the children.
    m_children.reset(m_store.isOpen() ? m_store.children() : QList<records::Child>{}, current);
    showClass();
}

} // namespace kiroku
