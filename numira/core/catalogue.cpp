// SPDX-License-Identifier: GPL-3.0-or-later
#include "numira/core/catalogue.h"

#include <algorithm>

namespace numira {

namespace {

constexpr bool kRemainder = true, kPlain = false;
constexpr bool kShuffled = true, kAsMade = false;

// category, number, list item, answers, order
constexpr ProblemKind kKinds[] = {
    {kAddition, 0, u"1:こたえが１０までのたしざん", kPlain, kShuffled},
    {kAddition, 1, u"2:１けたどうしのくりあがりのあるたしざん", kPlain, kShuffled},
    {kAddition, 2, u"3:こたえが２０までのたしざん", kPlain, kAsMade},
    {kAddition, 3, u"4:100までのたしざん くり上がりなし", kPlain, kAsMade},
    {kAddition, 4, u"5:100までのたしざん くり上がりもあり", kPlain, kAsMade},
    {kAddition, 5, u"6:1000までのたしざん くり上がりなし", kPlain, kAsMade},
    {kAddition, 6, u"7:1000までのたしざん くり上がりもあり", kPlain, kAsMade},
    {kAddition, 7, u"8:○.○＋○.○のたしざん", kPlain, kAsMade},
    {kAddition, 8, u"9:○.○○＋○.○○のたしざん", kPlain, kAsMade},
    {kSubtraction, 0, u"1:こたえが１０までのひきざん", kPlain, kShuffled},
    {kSubtraction, 1, u"2:19まで－１けた くり下がりあり", kPlain, kAsMade},
    {kSubtraction, 2, u"3:20までからの引き算", kPlain, kAsMade},
    {kSubtraction, 3, u"4:100までからの引き算 くり下がりなし", kPlain, kAsMade},
    {kSubtraction, 4, u"5:100までからの引き算 くり下がりもあり", kPlain, kAsMade},
    {kSubtraction, 5, u"6:千までからの引き算 くり下がりなし", kPlain, kAsMade},
    {kSubtraction, 6, u"7:千までからの引き算 くり下がりもあり", kPlain, kAsMade},
    {kSubtraction, 7, u"8:○.○－○.○", kPlain, kAsMade},
    {kSubtraction, 8, u"9:○.○○－○.○○", kPlain, kAsMade},
    {kMultiplication, 0, u" 1:○○Ｘ○  くりあがりなし", kPlain, kAsMade},
    {kMultiplication, 1, u" 2:○○Ｘ○ くりあがりもあり", kPlain, kAsMade},
    {kMultiplication, 2, u" 3:○Ｘ○○ くりあがりなし", kPlain, kAsMade},
    {kMultiplication, 3, u" 4:○Ｘ○○ くりあがりもあり", kPlain, kAsMade},
    {kMultiplication, 4, u" 5:○○Ｘ○○", kPlain, kAsMade},
    {kMultiplication, 5, u" 6:○.○Ｘ○", kPlain, kAsMade},
    {kMultiplication, 6, u" 7:○.○○Ｘ○○", kPlain, kAsMade},
    {kMultiplication, 7, u" 8:○○Ｘ○.○○", kPlain, kAsMade},
    {kMultiplication, 8, u" 9:○.○Ｘ○.○", kPlain, kAsMade},
    {kMultiplication, 9, u"10:小数２位と小数１位のかけざん", kPlain, kAsMade},
    {kDivision, 0, u" 1:九九を１かいだけつかうわりざん", kPlain, kShuffled},
    {kDivision, 1, u" 2:１００までからのわりきれるわりざん", kPlain, kShuffled},
    {kDivision, 2, u" 3:1000まで÷○　（わりきれる）", kPlain, kShuffled},
    {kDivision, 3, u" 4:1000まで÷○○（わりきれる）", kPlain, kShuffled},
    {kDivision, 4, u" 5:100まで÷○　 （あまりつき）", kRemainder, kShuffled},
    {kDivision, 5, u" 6:200まで÷○○ （あまりつき）", kRemainder, kShuffled},
    {kDivision, 6, u" 7:○.○÷整数　 （わりきれる）", kPlain, kShuffled},
    {kDivision, 7, u" 8:整数÷○.○　 （わりきれる）", kPlain, kShuffled},
    {kDivision, 8, u" 9:○.○÷○.○  （わりきれる）", kPlain, kShuffled},
    {kDivision, 9, u"10:○.○○÷○.○（わりきれる)", kPlain, kShuffled},
    {kDivision, 10, u"11:九九１かいのわりざん（あまりつき）", kRemainder, kShuffled},
    {kMultiplicationTable, 0, u"九九", kPlain, kShuffled},
};

} // namespace

std::span<const ProblemKind> problemKinds() { return kKinds; }

const ProblemKind* findProblemKind(int category, int number)
{
    const auto* kind =
        std::find_if(std::begin(kKinds), std::end(kKinds), [&](const ProblemKind& k) {
            return k.category == category && k.number == number;
        });
    return kind == std::end(kKinds) ? nullptr : kind;
}

QStringList catalogueItems(int category)
{
    QStringList items;
    for (const ProblemKind& kind : kKinds)
        if (kind.category == category) items.append(kind.title());
    return items;
}

QStringList cataloguePages()
{
    return {u"たしざん"_qs, u"ひきざん"_qs, u"かけざん"_qs, u"わりざん"_qs, u"九九"_qs};
}

int lastProblemType(int category)
{
    int last = -1;
    for (const ProblemKind& kind : kKinds)
        if (kind.category == category) last = std::max(last, kind.number);
    return last;
}

bool hasRemainder(int category, int number)
{
    const ProblemKind* kind = findProblemKind(category, number);
    return kind && kind->hasRemainder;
}

bool asksRecallFacts(const Choice& choice)
{
    switch (choice.category) {
    case kAddition:
    case kSubtraction: return choice.number >= 0 && choice.number <= 2;
    case kDivision: return choice.number == 0;
    case kMultiplicationTable: return true;
    }
    return false;
}

} // namespace numira
