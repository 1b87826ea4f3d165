// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/model/path.h"

#include <QSet>

#include <algorithm>

namespace common::records {

namespace {

struct TaughtStep {
    const char16_t* key;
    int grade;
};

// Numira's kinds and the table's rows, in the order and school year they
// are taught. The rows go as classrooms take them: 5, 2, 3, 4, 6, 7, 8, 9, 1.
constexpr TaughtStep kTeachingOrder[] = {
    {u"add:0", 1},    {u"sub:0", 1},    {u"add:1", 1},    {u"sub:1", 1},    {u"add:2", 1},
    {u"sub:2", 1},    {u"add:3", 2},    {u"sub:3", 2},    {u"add:4", 2},    {u"sub:4", 2},
    {u"table:5", 2},  {u"table:2", 2},  {u"table:3", 2},  {u"table:4", 2},  {u"table:6", 2},
    {u"table:7", 2},  {u"table:8", 2},  {u"table:9", 2},  {u"table:1", 2},  {u"add:5", 2},
    {u"sub:5", 2},    {u"add:6", 3},    {u"sub:6", 3},    {u"divrow:5", 3}, {u"divrow:2", 3},
    {u"divrow:3", 3}, {u"divrow:4", 3}, {u"divrow:6", 3}, {u"divrow:7", 3}, {u"divrow:8", 3},
    {u"divrow:9", 3}, {u"divrow:1", 3}, {u"div:0", 3},    {u"div:10", 3},   {u"mul:0", 3},
    {u"mul:1", 3},    {u"mul:2", 3},    {u"mul:3", 3},    {u"mul:4", 3},    {u"add:7", 3},
    {u"sub:7", 3},    {u"div:1", 4},    {u"div:2", 4},    {u"div:4", 4},    {u"div:3", 4},
    {u"div:5", 4},    {u"add:8", 4},    {u"sub:8", 4},    {u"mul:5", 4},    {u"mul:6", 4},
    {u"div:6", 4},    {u"mul:7", 5},    {u"mul:8", 5},    {u"mul:9", 5},    {u"div:7", 5},
    {u"div:8", 5},    {u"div:9", 5},
};

// The step's kind ("table", "add", ...) and its number; -1 for none.
std::pair<QStringView, int> splitKey(QStringView key)
{
    const qsizetype colon = key.indexOf(u':');
    if (colon < 0) return {key, -1};
    bool ok = false;
    const int number = key.mid(colon + 1).toInt(&ok);
    return {key.left(colon), ok ? number : -1};
}

QString number(qint64 n) { return QString::number(n); }

void addFact(QList<ReviewProblem>& facts, const QString& kind, const QString& question,
             qint64 answer)
{
    QString key = question;
    key.replace(u'÷', u'/');
    facts.append({kind + u':' + key, question, number(answer), false});
}

} // namespace

QStringList allSteps()
{
    QStringList steps;
    for (const TaughtStep& step : kTeachingOrder) steps.append(QString::fromUtf16(step.key));
    return steps;
}

int gradeOfStep(const QString& key)
{
    for (const TaughtStep& step : kTeachingOrder)
        if (key == QStringView(step.key)) return step.grade;
    return 0;
}

bool isStep(const QString& key) { return gradeOfStep(key) != 0; }

bool isRecallStep(const QString& key)
{
    if (!isStep(key)) return false;
    const auto [kind, n] = splitKey(key);
    if (kind == u"table" || kind == u"divrow") return true;
    if (kind == u"add" || kind == u"sub") return n <= 2;
    return kind == u"div" && n == 0;
}

Path defaultPath(std::optional<int> grade)
{
    int year = grade.value_or(kFirstGrade);
    if (year < kFirstGrade || year > kLastGrade) year = kFirstGrade;
    // Nothing on the path is taught later than the fifth year.
    year = std::min(year, gradeOfStep(allSteps().constLast()));
    Path path;
    for (const TaughtStep& step : kTeachingOrder)
        path.steps.append({QString::fromUtf16(step.key), step.grade < year});
    return path;
}

QString pathText(const Path& path)
{
    QStringList keys;
    for (const PathStep& step : path.steps) keys.append(step.skipped ? u'-' + step.key : step.key);
    return keys.join(u' ');
}

Path parsePath(const QString& text, const QString& pinned)
{
    Path path;
    QSet<QString> held;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        const bool skipped = word.startsWith(u'-');
        const QString key = skipped ? word.mid(1) : word;
        if (!isStep(key) || held.contains(key)) continue;
        held.insert(key);
        path.steps.append({key, skipped});
    }
    for (const QString& key : allSteps())
        if (!held.contains(key)) path.steps.append({key, false});
    if (isStep(pinned)) path.pinned = pinned;
    return path;
}

std::optional<QString> currentStep(const Path& path, const QStringList& passed)
{
    if (!path.pinned.isEmpty())
        for (const PathStep& step : path.steps)
            if (step.key == path.pinned && !step.skipped) return step.key;
    for (const PathStep& step : path.steps)
        if (!step.skipped && !passed.contains(step.key)) return step.key;
    return std::nullopt;
}

// As Numira's generators of each kind make them, in the order they make
// them before shuffling.
QList<ReviewProblem> stepFacts(const QString& key)
{
    QList<ReviewProblem> facts;
    if (!isRecallStep(key)) return facts;
    const auto [kind, n] = splitKey(key);
    const QString add = QStringLiteral("add"), sub = QStringLiteral("sub");
    const QString mul = QStringLiteral("mul"), div = QStringLiteral("div");
    auto sum = [&](int a, int b) { addFact(facts, add, number(a) + u'+' + number(b), a + b); };
    auto difference = [&](int a, int b) {
        addFact(facts, sub, number(a) + u'-' + number(b), a - b);
    };
    auto quotient = [&](int divisor, int q) {
        addFact(facts, div, number(divisor * q) + u'÷' + number(divisor), q);
    };
    if (kind == u"table") {
        for (int m = 1; m <= 9; ++m) addFact(facts, mul, number(n) + u'x' + number(m), n * m);
    } else if (kind == u"divrow") {
        for (int q = 1; q <= 9; ++q) quotient(n, q);
    } else if (kind == u"div") {
        // Every division of the table, divisor then quotient.
        for (int divisor = 1; divisor <= 9; ++divisor)
            for (int q = 1; q <= 9; ++q) quotient(divisor, q);
    } else if (kind == u"add") {
        // One digit each up to a sum of ten, one digit each carrying, or
        // both 1..19 up to a sum of twenty.
        const int highest = n == 2 ? 19 : 9;
        for (int a = 1; a <= highest; ++a)
            for (int b = 1; b <= highest; ++b)
                if (n == 0 ? a + b <= 10 : n == 1 ? a + b >= 11 : a + b <= 20) sum(a, b);
    } else if (n == 0) {
        for (int a = 1; a <= 10; ++a)
            for (int b = 1; b <= a; ++b) difference(a, b);
    } else if (n == 1) {
        // The teens less a digit that borrows.
        for (int a = 10; a <= 18; ++a)
            for (int b = a % 10 + 1; b <= 9; ++b) difference(a, b);
    } else {
        // From 1..20, taking 0..19 and never more than there is.
        for (int a = 1; a <= 20; ++a)
            for (int b = 0; b <= std::min(a, 19); ++b) difference(a, b);
    }
    return facts;
}

} // namespace common::records
