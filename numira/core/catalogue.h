#pragma once

#include <QStringList>

namespace numira {

// The list items of the choice window, by category (0 addition, 1
// subtraction, 2 multiplication, 3 division), exactly as shown; an item's
// index is its problem number.
QStringList CatalogueItems(int category);
// Page captions of the choice window, in tab order.
QStringList CataloguePages();
// Index of the last problem type of a category (8, 8, 9, 10), -1 for others.
int LastProblemType(int category);

} // namespace numira
