// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a child's page reads, on the screen and on paper alike: the grid's
// marks and colours, the names of kinds and facts, the kinds table's columns
// and cells, and the headings. The child page and the printed report both
// take their words from here, so that the two never say a thing differently.

#include "records/model/records_service.h"
#include "records/reads/child_page.h"

#include <QHash>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace kiroku {

// How a state looks in the grid: a mark, so that the grid reads without
// colour too, and a gentle background. A miss is △, not ×, which the grid of
// products would read as "times".
struct StateLook {
    common::records::FactState state;
    const char16_t* mark;
    QRgb colour;
};
// In the legend's order.
inline constexpr StateLook kStateLooks[] = {
    {common::records::FactState::kMastered, u"◎", 0xcdebd0},
    {common::records::FactState::kSlow, u"◐", 0xd4e4f7},
    {common::records::FactState::kLearning, u"○", 0xfff1b8},
    {common::records::FactState::kRecentlyMissed, u"△", 0xf9c9d4},
    {common::records::FactState::kNotSeen, u"・", 0xececec},
};
const StateLook& lookOf(common::records::FactState state);
// A legend entry: the mark and the state's word ("◎ できた").
QString legendText(const StateLook& look);

// The grid of the times table: rows 1..9, columns from gridFirstColumn(facts)
// to 9. The ×0 column is there only for a child who practised the table
// from 0.
int gridFirstColumn(const QHash<QString, common::records::FactStanding>& facts);
QString gridRowHeader(int a);    // "7の段"
QString gridColumnHeader(int b); // "×8"
// A fact's standing in the grid; one the child never met is not seen.
common::records::FactStanding
gridStanding(const QHash<QString, common::records::FactStanding>& facts, int a, int b);
// A cell: the state's mark and the product ("△ 56").
QString gridCellText(int a, int b, common::records::FactState state);
// A recall fact's usual time ("4.2秒"), empty before its first right try.
QString usualTimeText(const common::records::FactStanding& standing);
// What the grid says of a cell, and its accessible name: the fact, its
// state and its usual time ("7×8 ゆっくり 4.2秒").
QString gridCellName(int a, int b, const common::records::FactStanding& standing);
// The child's keying and the limit it gives a two-digit answer, for the
// adult ("キー入力 1回0.4秒 (2けたの答えの目安 4.2秒)"), or that it is not
// known yet.
QString paceText(const common::records::Pace& pace);
// A base limit as the adult chooses it ("3秒").
QString secondsText(int ms);
// The share of recall facts fluent, or a dash without any.
QString fluentText(int fluent, int recall);

// A kind of set by the keys the drills write ("add:3" as たし算 4).
QString kindLabel(const QString& program, const QString& choice);
// A step of a child's path as the adult reads it: a row of the times table
// ("九九 5の段"), the division facts of a row ("5の段のわり算"), or a kind by
// its name in the list and what it asks ("たし算 4: 100まで くり上がりなし").
QString stepName(const QString& key);
// A school year as the adult chooses it ("2年生"), or that none is given.
QString gradeText(std::optional<int> grade);
// A day's length as the adult chooses it: a number of problems ("20問"),
// or about ten minutes (kAboutTenMinutes).
QString dayProblemsText(int problems);
// The day's practice in a line each: the step the child works on (or that
// every step is done) and the month's day marks with the days in a row.
QString currentStepText(const std::optional<QString>& step);
QString marksText(const common::DayMarks& marks);
// A fact as the drills show it ("mul:7x8" as 7×8).
QString factLabel(const QString& fact);
// A first-try share, or a dash before the first problem.
QString percentText(int problems, int percent);
// The kinds table: its columns and one kind's cells.
QStringList kindHeaders();
QStringList kindCells(const common::records::KindSummary& kind);
// A day on the trend's axis ("12/1").
QString dayTick(const QDate& day);

inline constexpr QStringView kGridHeading = u"九九";
inline constexpr QStringView kKindsHeading = u"種類ごとの記録";
inline constexpr QStringView kTrendHeading = u"この8週間";
inline constexpr QStringView kProblemsWord = u"問題数";
inline constexpr QStringView kFirstTryWord = u"一回目で正解";
inline constexpr QStringView kFirstTryShareWord = u"一回目で正解 (%)";

} // namespace kiroku
