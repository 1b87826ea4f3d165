// SPDX-License-Identifier: GPL-3.0-or-later
#include "kiroku/page_words.h"

#include "records/model/day_plan.h"
#include "records/model/mastery.h"

#include <iterator>

namespace kiroku {

namespace records = common::records;

const StateLook& lookOf(records::FactState state)
{
    for (const StateLook& look : kStateLooks)
        if (look.state == state) return look;
    return std::end(kStateLooks)[-1];
}

QString legendText(const StateLook& look)
{
    return QString::fromUtf16(look.mark) + u' ' + records::stateWord(look.state);
}

int gridFirstColumn(const QHash<QString, records::FactStanding>& facts)
{
    for (int a = 1; a <= 9; ++a)
        if (facts.contains(QStringLiteral("mul:%1x0").arg(a))) return 0;
    return 1;
}

QString gridRowHeader(int a) { return QStringLiteral("%1の段").arg(a); }

QString gridColumnHeader(int b) { return QStringLiteral("×%1").arg(b); }

records::FactStanding gridStanding(const QHash<QString, records::FactStanding>& facts, int a, int b)
{
    return facts.value(QStringLiteral("mul:%1x%2").arg(a).arg(b));
}

QString gridCellText(int a, int b, records::FactState state)
{
    return QString::fromUtf16(lookOf(state).mark) + u' ' + QString::number(a * b);
}

QString secondsText(int ms)
{
    return ms % 1000 == 0 ? QStringLiteral("%1秒").arg(ms / 1000)
                          : QStringLiteral("%1秒").arg(ms / 1000.0, 0, 'f', 1);
}

QString usualTimeText(const records::FactStanding& standing)
{
    if (!standing.usualMs) return {};
    return QStringLiteral("%1秒").arg(double(*standing.usualMs) / 1000.0, 0, 'f', 1);
}

QString gridCellName(int a, int b, const records::FactStanding& standing)
{
    const QString time = usualTimeText(standing);
    return QStringLiteral("%1×%2 ").arg(a).arg(b) + records::stateWord(standing.state) +
           (time.isEmpty() ? QString() : u' ' + time);
}

QString paceText(const records::Pace& pace)
{
    if (!pace.keyMs) return QStringLiteral("キー入力の速さ: まだわかりません");
    return QStringLiteral("キー入力 1回%1 (2けたの答えの目安 %2)")
        .arg(QStringLiteral("%1秒").arg(*pace.keyMs / 1000.0, 0, 'f', 2),
             QStringLiteral("%1秒").arg(*pace.limitFor(QStringLiteral("00")) / 1000.0, 0, 'f', 1));
}

QString fluentText(int fluent, int recall)
{
    return recall > 0 ? QStringLiteral("%1%").arg(records::fluentPercent(fluent, recall))
                      : QStringLiteral("—");
}

// Kiroku links none of the drills' code, so their names are made here from
// the keys: a list kind by its category and its number as the child's list
// shows it ("add:3" is the fourth item: たし算 4), the times table by its
// rows ("table:2,7+0": 九九 2,7 (0から)), Bairo's by kind and level; the set of
// missed facts (or Bairo's missed pairs) by its page's name, as the child saw it.
QString kindLabel(const QString& program, const QString& choice)
{
    if (choice == u"review") return QStringLiteral("にがて");
    // The day's practice by the step it worked on.
    if (program == u"numira" && choice.startsWith(u"today:"))
        return QStringLiteral("きょうのれんしゅう（%1）").arg(stepName(choice.mid(6)));
    const qsizetype colon = choice.indexOf(u':');
    const QString head = choice.left(colon);
    const QString rest = choice.mid(colon + 1);
    if (program == u"bairo") {
        const QString kind = head == u"lcm"   ? QStringLiteral("最小公倍数")
                             : head == u"gcd" ? QStringLiteral("最大公約数")
                                              : head;
        const QString level = rest == u"easy"   ? QStringLiteral("やさしい")
                              : rest == u"hard" ? QStringLiteral("むずかしい")
                                                : rest;
        return kind + u' ' + level;
    }
    if (head == u"table") {
        if (rest.endsWith(u"+0")) return QStringLiteral("九九 %1 (0から)").arg(rest.chopped(2));
        return QStringLiteral("九九 ") + rest;
    }
    static const QHash<QString, QString> kCategories{
        {QStringLiteral("add"), QStringLiteral("たし算")},
        {QStringLiteral("sub"), QStringLiteral("ひき算")},
        {QStringLiteral("mul"), QStringLiteral("かけ算")},
        {QStringLiteral("div"), QStringLiteral("わり算")}};
    bool number = false;
    const int index = rest.toInt(&number);
    if (!number || !kCategories.contains(head)) return choice;
    return kCategories.value(head) + u' ' + QString::number(index + 1);
}

QString stepName(const QString& key)
{
    const qsizetype colon = key.indexOf(u':');
    const QString head = key.left(colon);
    const QString rest = key.mid(colon + 1);
    if (head == u"table") return QStringLiteral("九九 %1の段").arg(rest);
    if (head == u"divrow") return QStringLiteral("%1の段のわり算").arg(rest);
    // What each kind asks, in the adult's words, by its choice key.
    static const QHash<QString, QString> kAsks{
        {QStringLiteral("add:0"), QStringLiteral("答えが10まで")},
        {QStringLiteral("add:1"), QStringLiteral("1けた＋1けた くり上がりあり")},
        {QStringLiteral("add:2"), QStringLiteral("答えが20まで")},
        {QStringLiteral("add:3"), QStringLiteral("100まで くり上がりなし")},
        {QStringLiteral("add:4"), QStringLiteral("100まで くり上がりもあり")},
        {QStringLiteral("add:5"), QStringLiteral("1000まで くり上がりなし")},
        {QStringLiteral("add:6"), QStringLiteral("1000まで くり上がりもあり")},
        {QStringLiteral("add:7"), QStringLiteral("小数 ○.○＋○.○")},
        {QStringLiteral("add:8"), QStringLiteral("小数 ○.○○＋○.○○")},
        {QStringLiteral("sub:0"), QStringLiteral("答えが10まで")},
        {QStringLiteral("sub:1"), QStringLiteral("19まで－1けた くり下がりあり")},
        {QStringLiteral("sub:2"), QStringLiteral("20までからのひき算")},
        {QStringLiteral("sub:3"), QStringLiteral("100まで くり下がりなし")},
        {QStringLiteral("sub:4"), QStringLiteral("100まで くり下がりもあり")},
        {QStringLiteral("sub:5"), QStringLiteral("1000まで くり下がりなし")},
        {QStringLiteral("sub:6"), QStringLiteral("1000まで くり下がりもあり")},
        {QStringLiteral("sub:7"), QStringLiteral("小数 ○.○－○.○")},
        {QStringLiteral("sub:8"), QStringLiteral("小数 ○.○○－○.○○")},
        {QStringLiteral("mul:0"), QStringLiteral("○○×○ くり上がりなし")},
        {QStringLiteral("mul:1"), QStringLiteral("○○×○ くり上がりもあり")},
        {QStringLiteral("mul:2"), QStringLiteral("○×○○ くり上がりなし")},
        {QStringLiteral("mul:3"), QStringLiteral("○×○○ くり上がりもあり")},
        {QStringLiteral("mul:4"), QStringLiteral("○○×○○")},
        {QStringLiteral("mul:5"), QStringLiteral("小数 ○.○×○")},
        {QStringLiteral("mul:6"), QStringLiteral("小数 ○.○○×○○")},
        {QStringLiteral("mul:7"), QStringLiteral("小数 ○○×○.○○")},
        {QStringLiteral("mul:8"), QStringLiteral("小数 ○.○×○.○")},
        {QStringLiteral("mul:9"), QStringLiteral("小数 2けた×1けた")},
        {QStringLiteral("div:0"), QStringLiteral("九九を1回使う")},
        {QStringLiteral("div:1"), QStringLiteral("100までから わりきれる")},
        {QStringLiteral("div:2"), QStringLiteral("1000まで÷○ わりきれる")},
        {QStringLiteral("div:3"), QStringLiteral("1000まで÷○○ わりきれる")},
        {QStringLiteral("div:4"), QStringLiteral("100まで÷○ あまりあり")},
        {QStringLiteral("div:5"), QStringLiteral("200まで÷○○ あまりあり")},
        {QStringLiteral("div:6"), QStringLiteral("小数 ○.○÷整数")},
        {QStringLiteral("div:7"), QStringLiteral("小数 整数÷○.○")},
        {QStringLiteral("div:8"), QStringLiteral("小数 ○.○÷○.○")},
        {QStringLiteral("div:9"), QStringLiteral("小数 ○.○○÷○.○")},
        {QStringLiteral("div:10"), QStringLiteral("九九を1回使う あまりあり")}};
    const QString label = kindLabel(QStringLiteral("numira"), key);
    const auto asks = kAsks.constFind(key);
    return asks == kAsks.cend() ? label : label + QStringLiteral(": ") + *asks;
}

QString gradeText(std::optional<int> grade)
{
    return grade ? QStringLiteral("%1年生").arg(*grade) : QStringLiteral("まだ決めていない");
}

QString dayProblemsText(int problems)
{
    return problems == records::kAboutTenMinutes ? QStringLiteral("10分ぐらい")
                                                 : QStringLiteral("%1問").arg(problems);
}

QString currentStepText(const std::optional<QString>& step)
{
    return step ? QStringLiteral("いまのステップ: ") + stepName(*step)
                : QStringLiteral("すべてのステップができました");
}

QString marksText(const common::DayMarks& marks)
{
    return QStringLiteral("今月のはなまる %1日　つづけて %2日")
        .arg(marks.month.size())
        .arg(marks.daysInRow);
}

// Bairo's "lcm:6,8" reads 6と8の最小公倍数; "div:17/5" reads 17÷5.
QString factLabel(const QString& fact)
{
    const qsizetype colon = fact.indexOf(u':');
    const QString head = fact.left(colon);
    QString rest = fact.mid(colon + 1);
    if (head == u"lcm" || head == u"gcd")
        return rest.replace(u',', u'と') + u'の' +
               (head == u"lcm" ? QStringLiteral("最小公倍数") : QStringLiteral("最大公約数"));
    return rest.replace(u'x', u'×').replace(u'/', u'÷');
}

QString percentText(int problems, int percent)
{
    return problems > 0 ? QStringLiteral("%1%").arg(percent) : QStringLiteral("—");
}

QStringList kindHeaders()
{
    return {QStringLiteral("種類"),
            QStringLiteral("セット数"),
            kProblemsWord.toString(),
            kFirstTryWord.toString(),
            QStringLiteral("答えるまで(中央値)"),
            QStringLiteral("すらすら"),
            QStringLiteral("最後にやった日")};
}

QStringList kindCells(const records::KindSummary& kind)
{
    return {kindLabel(kind.program, kind.choice),
            QString::number(kind.sets),
            QString::number(kind.problems),
            percentText(kind.problems, kind.firstTryPercent),
            kind.problems > 0 ? QStringLiteral("%1秒").arg(kind.medianMs / 1000.0, 0, 'f', 1)
                              : QStringLiteral("—"),
            fluentText(kind.fluentFacts, kind.recallFacts),
            kind.lastPractised.toLocalTime().date().toString(u"yyyy/MM/dd")};
}

QString dayTick(const QDate& day) { return day.toString(u"M/d"); }

} // namespace kiroku
