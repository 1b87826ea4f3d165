// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the child can choose: the categories (the pages of the choice window)
// and one table of every kind of problem set, with what sets each kind apart.

#include <QString>
#include <QStringList>

#include <array>
#include <span>

namespace numira {

enum Category : qint32 {
    kAddition = 0,
    kSubtraction = 1,
    kMultiplication = 2,
    kDivision = 3,
    kMultiplicationTable = 4,
    kReview = 5, // what the child missed, from its records: only with records on
    kToday = 6,  // the child's day's practice, from its records: only with records on
};

// The categories whose kinds are chosen from a list; the multiplication table
// is chosen by its rows instead.
inline constexpr Category kListCategories[] = {kAddition, kSubtraction, kMultiplication, kDivision};

// One kind of problem set.
struct ProblemKind {
    Category category;
    int number;           // its place in its category, from 0
    const char16_t* text; // the list item exactly as shown, and the title of its sets
    bool hasRemainder;    // answers are quotient "..." remainder
    bool shuffled;        // a made set is shuffled before it is drilled

    QString title() const { return QString::fromUtf16(text); }
};

// Every kind, category by category and number by number; the multiplication
// table is the one kind of its category.
std::span<const ProblemKind> problemKinds();
// The kind of that category and number, or nullptr.
const ProblemKind* findProblemKind(int category, int number);
// The list items of a category, exactly as shown; an item's index is its number.
QStringList catalogueItems(int category);
// Page captions of the choice window, in tab order.
QStringList cataloguePages();
// The number of the last kind of a category, -1 for none.
int lastProblemType(int category);
// Whether the answers of that kind are quotient "..." remainder.
bool hasRemainder(int category, int number);

// The rows of the multiplication table chosen, and where each row starts.
struct TableRowSelection {
    std::array<bool, 9> rows{};  // whether row 1..9 is chosen
    qint32 lowestMultiplier = 0; // 0 with "include 0", else 1
    int chosenRows() const
    {
        int n = 0;
        for (bool chosen : rows) n += chosen;
        return n;
    }
};

// What the child chose: a kind by category and number, or table rows.
struct Choice {
    qint32 category = kAddition;
    qint32 number = 0;
    TableRowSelection tableRows;
    // A table choice without rows has nothing to drill.
    bool makesASet() const
    {
        return category != kMultiplicationTable || tableRows.chosenRows() > 0;
    }
};

// A kind whose facts a child should know by heart rather than work through:
// the times table, the division facts of the table (わりざん 1), and
// addition and subtraction within 20 (たしざん 1-3, ひきざん 1-3). A review
// mixes kinds and is none of them.
bool asksRecallFacts(const Choice& choice);

} // namespace numira
