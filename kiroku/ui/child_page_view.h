// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One child's page in the records window, for the adults: the times table
// fact by fact, each kind of set practised, the last eight weeks day by day
// (a chart, and the same numbers in a table for screen readers), the facts
// missed most lately with the wrong answers typed, and Bairo's kinds. It
// shows a page the records core has read; what it adds is only words, marks
// and colours. Above them, the day's practice: the step the child works on,
// the steps it passed and the month's days with the day's mark.

#include "records/reads/child_page.h"
#include "records/reads/path_page.h"

#include <optional>

#include <QWidget>

class QBarSet;
class QLabel;
class QCategoryAxis;
class QLineSeries;
class QTableWidget;
class QValueAxis;

namespace kiroku {

class ChildPageView : public QWidget {
public:
    explicit ChildPageView(QWidget* parent = nullptr);

    void showPage(const common::records::ChildPage& page);
    // Nothing: the records hold no plan for the child (or none is shown).
    void showPath(const std::optional<common::records::PathPage>& page,
                  const QDate& today = QDate::currentDate());

private:
    QWidget* makeGrid();
    QWidget* makeTrend();
    void showGrid(const QHash<QString, common::records::FactStanding>& facts);
    void showTrend(const QList<common::records::DaySummary>& days);

    QLabel* m_step = nullptr;
    QTableWidget* m_passed = nullptr;
    QTableWidget* m_month = nullptr;
    QLabel* m_marks = nullptr;
    QTableWidget* m_grid = nullptr;
    QTableWidget* m_kinds = nullptr;
    QTableWidget* m_days = nullptr;
    QTableWidget* m_missed = nullptr;
    QTableWidget* m_bairo = nullptr;
    QBarSet* m_problems = nullptr;
    QLineSeries* m_percent = nullptr;
    QCategoryAxis* m_dayAxis = nullptr;
    QValueAxis* m_problemAxis = nullptr;
};

} // namespace kiroku
