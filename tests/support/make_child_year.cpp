// SPDX-License-Identifier: GPL-3.0-or-later
// Adds a child with a generated year of answers, up to now, to a records file
// (made when missing), for the real-display walk of the records window.
// Usage: make_child_year FILE NICKNAME
#include "records/store/records_store.h"
#include "tests/support/child_year.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_child_year FILE NICKNAME\n");
        return 2;
    }
    common::records::RecordsStore store;
    qint64 child = 0;
    const auto opening = store.open(QString::fromLocal8Bit(argv[1]));
    if (opening != common::records::Opening::kOpened ||
        store.addChild(QString::fromLocal8Bit(argv[2]), &child) ||
        !test_support::writeChildYear(store, child, QDateTime::currentDateTimeUtc())) {
        std::fprintf(stderr, "make_child_year: %s\n", qPrintable(store.errorText()));
        return 1;
    }
    return 0;
}
