#include "numira/core/catalogue.h"

#include <iterator>

namespace numira {

namespace {
const char16_t* const kAddition[] = {
    u"1:こたえが１０までのたしざん",
    u"2:１けたどうしのくりあがりのあるたしざん",
    u"3:こたえが２０までのたしざん",
    u"4:100までのたしざん くり上がりなし",
    u"5:100までのたしざん くり上がりもあり",
    u"6:1000までのたしざん くり上がりなし",
    u"7:1000までのたしざん くり上がりもあり",
    u"8:○.○＋○.○のたしざん",
    u"9:○.○○＋○.○○のたしざん",
};
const char16_t* const kSubtraction[] = {
    u"1:こたえが１０までのひきざん",
    u"2:19まで－１けた くり下がりあり",
    u"3:20までからの引き算",
    u"4:100までからの引き算 くり下がりなし",
    u"5:100までからの引き算 くり下がりもあり",
    u"6:千までからの引き算 くり下がりなし",
    u"7:千までからの引き算 くり下がりもあり",
    u"8:○.○－○.○",
    u"9:○.○○－○.○○",
};
const char16_t* const kMultiplication[] = {
    u" 1:○○Ｘ○  くりあがりなし",
    u" 2:○○Ｘ○ くりあがりもあり",
    u" 3:○Ｘ○○ くりあがりなし",
    u" 4:○Ｘ○○ くりあがりもあり",
    u" 5:○○Ｘ○○",
    u" 6:○.○Ｘ○",
    u" 7:○.○○Ｘ○○",
    u" 8:○○Ｘ○.○○",
    u" 9:○.○Ｘ○.○",
    u"10:小数２位と小数１位のかけざん",
};
const char16_t* const kDivision[] = {
    u" 1:九九を１かいだけつかうわりざん",
    u" 2:１００までからのわりきれるわりざん",
    u" 3:1000まで÷○　（わりきれる）",
    u" 4:1000まで÷○○（わりきれる）",
    u" 5:100まで÷○　 （あまりつき）",
    u" 6:200まで÷○○ （あまりつき）",
    u" 7:○.○÷整数　 （わりきれる）",
    u" 8:整数÷○.○　 （わりきれる）",
    u" 9:○.○÷○.○  （わりきれる）",
    u"10:○.○○÷○.○（わりきれる)",
    u"11:九九１かいのわりざん（あまりつき）",
};

template <typename Array> QStringList toList(const Array& items)
{
    QStringList list;
    for (const char16_t* item : items) list.append(QString::fromUtf16(item));
    return list;
}
} // namespace

QStringList CatalogueItems(int category)
{
    switch (category) {
    case 0: return toList(kAddition);
    case 1: return toList(kSubtraction);
    case 2: return toList(kMultiplication);
    case 3: return toList(kDivision);
    default: return {};
    }
}

QStringList CataloguePages()
{
    return {u"たしざん"_qs, u"ひきざん"_qs, u"かけざん"_qs, u"わりざん"_qs, u"九九"_qs};
}

int LastProblemType(int category)
{
    switch (category) {
    case 0: return int(std::size(kAddition)) - 1;
    case 1: return int(std::size(kSubtraction)) - 1;
    case 2: return int(std::size(kMultiplication)) - 1;
    case 3: return int(std::size(kDivision)) - 1;
    default: return -1;
    }
}

} // namespace numira
