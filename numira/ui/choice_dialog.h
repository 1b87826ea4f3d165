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
// boxes, and with records on a sixth page with what the child missed.
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

private slots:
    // Bound to "けってい" and to a double click in any list.
    void confirm();

private:
    int scaled(int pixels) const;
    void fitTabs();
    void showReviewText();
    void pageShown(int page);

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
    ChosenSet m_chosen;
};

} // namespace numira
