// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "numira/core/drill.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace numira {

// The choice window: the catalogue on five pages, the table rows as check
// boxes, and with records on a sixth page with what the child missed,
// grown into the child's day's practice and the days it earned its mark.
// Confirming keeps the choice and its set's title and closes; the
// close box keeps nothing. It is created once and keeps its page, selections
// and ticks between showings.
class ChoiceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ChoiceDialog(QWidget* parent = nullptr);

    // What was confirmed at the last showing; nothing when the window was
    // closed without a choice.
    std::optional<ChosenSet> chosenSet() const;
    // The review page's problems for this showing: nothing hides the page
    // (records off), an empty list says that nothing is due.
    void setReview(std::optional<QList<common::ReviewProblem>> review);
    // The day's practice for this showing: nothing leaves it out (records
    // off, or nobody known to play).
    void setDay(std::optional<common::DayPage> day);

private slots:
    // Bound to "けってい" and to a double click in any list.
    void confirm();
    void chooseReview();

private:
    int scaled(int pixels) const;
    void fitTabs();
    void showReviewText();
    void pageShown(int page);
    void showRecordsPage();
    void buildDayPage();
    void showDayPage(const common::DayPage& day);

    double m_scale = 1.0;
    QTabWidget* m_pages = nullptr;
    std::array<QListWidget*, 4> m_lists{}; // by category, addition to division
    QGroupBox* m_rowGroup = nullptr;
    std::array<QCheckBox*, 9> m_rowBoxes{}; // rows 1..9
    QCheckBox* m_allRowsBox = nullptr;
    QCheckBox* m_withZeroBox = nullptr;
    QPushButton* m_confirmButton = nullptr;
    QWidget* m_reviewPage = nullptr;
    QLabel* m_reviewText = nullptr;
    QList<common::ReviewProblem> m_review;
    QPushButton* m_reviewButton = nullptr;
    bool m_reviewOffered = false;
    QWidget* m_dayPart = nullptr; // the day's practice on the review page
    bool m_dayOffered = false;
    bool m_dayJoined = false; // offered at some showing before
    QLabel* m_dayText = nullptr;
    QPushButton* m_dayButton = nullptr;
    QLabel* m_monthTitle = nullptr;
    std::array<QLabel*, 42> m_dayCells{}; // six weeks of seven days, Monday first
    QLabel* m_inRowText = nullptr;
    common::DaySet m_day;
    int m_daySize = 0;
    ChosenSet m_chosen;
};

} // namespace numira
