// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/model/day_plan.h"

#include <QSet>

#include <algorithm>
#include <iterator>
#include <random>

namespace common::records {

namespace {

// Known facts met after each new one, so that a new fact stands among
// facts the child gets right.
constexpr int kKnownAfterNew = 2;
// A procedure step's own short set in a day.
constexpr int kShortestProcedureSet = 5;
constexpr int kLongestProcedureSet = 10;
// About ten minutes, with the judgement shown between problems.
constexpr qint64 kTenMinutesMs = 600'000;
constexpr qint64 kFeedbackMs = 1'500;
constexpr int kFewestDayProblems = kDayProblemChoices[1];
constexpr int kMostDayProblems = std::end(kDayProblemChoices)[-1];

// The fact as the drill shows it after its kind: "div:56/8" is "56÷8".
QString plannedQuestion(const QString& fact)
{
    QString question = fact.mid(fact.indexOf(u':') + 1);
    if (fact.startsWith(u"div:")) question.replace(u'/', u'÷');
    return question;
}

ReviewProblem plannedProblem(const PlanFact& fact, bool due)
{
    return {fact.fact, plannedQuestion(fact.fact), fact.answer, due};
}

bool seenFact(const PlanInput& input, const QString& fact)
{
    const auto it = input.facts.constFind(fact);
    return it != input.facts.cend() && it->seen > 0;
}

// A fact the child can be given for success: mastered, or being learnt with
// every first try right so far.
bool knownFact(const PlanFact& fact)
{
    return fact.state == FactState::kMastered ||
           (fact.state == FactState::kLearning && fact.seen > 0 && fact.firstTryRight == fact.seen);
}

// The facts by key: a hash has no order, and the plan must be the same
// wherever it is drawn.
QList<const PlanFact*> factsInOrder(const PlanInput& input)
{
    QList<const PlanFact*> facts;
    facts.reserve(input.facts.size());
    for (const PlanFact& fact : input.facts) facts.append(&fact);
    std::sort(facts.begin(), facts.end(),
              [](const PlanFact* a, const PlanFact* b) { return a->fact < b->fact; });
    return facts;
}

// The facts placement asks of a recall step: spread over the step, the
// same every day, so that what they told can be read back.
QList<ReviewProblem> placementProbes(const QString& step)
{
    const QList<ReviewProblem> facts = stepFacts(step);
    QList<ReviewProblem> probes;
    const qsizetype count = facts.size();
    for (qsizetype i = 0; i < kPlacementProbes && i < count; ++i)
        probes.append(facts.at(count * (2 * i + 1) / (2 * kPlacementProbes)));
    return probes;
}

bool procedureScoresPass(const PlanInput& input, const QString& step)
{
    QSet<QDate> days;
    for (const ScoredSet& set : input.sets)
        if (set.step == step && set.count > 0 &&
            set.score * 100 >= kProcedurePassPercent * set.count)
            days.insert(set.day);
    return days.size() >= kProcedurePassDays;
}

bool recallFactsMastered(const PlanInput& input, const QString& step)
{
    const QList<ReviewProblem> facts = stepFacts(step);
    return std::all_of(facts.cbegin(), facts.cend(), [&](const ReviewProblem& problem) {
        const auto it = input.facts.constFind(problem.fact);
        return it != input.facts.cend() && it->state == FactState::kMastered;
    });
}

enum class Placed { kPassed, kFailed, kUndecided };

// What placement's probes of a step told: right and quick at every one, a
// probe that was not, or not all asked yet.
Placed placementOf(const PlanInput& input, const QString& step)
{
    if (!isRecallStep(step)) {
        bool probed = false;
        for (const ScoredSet& set : input.sets) {
            if (set.step != step || set.count < kPlacementProbes) continue;
            if (set.score >= set.count) return Placed::kPassed;
            probed = true;
        }
        return probed ? Placed::kFailed : Placed::kUndecided;
    }
    bool allSeen = true;
    for (const ReviewProblem& probe : placementProbes(step)) {
        const auto it = input.facts.constFind(probe.fact);
        if (it == input.facts.cend() || it->seen == 0)
            allSeen = false;
        else if (!it->quickAtEveryTry)
            return Placed::kFailed;
    }
    return allSeen ? Placed::kPassed : Placed::kUndecided;
}

// The path's steps from `from` on that are neither skipped nor passed.
QStringList stepsAhead(const Path& path, const QString& from, const QSet<QString>& passed)
{
    QStringList ahead;
    bool reached = false;
    for (const PathStep& step : path.steps) {
        reached = reached || step.key == from;
        if (reached && !step.skipped && !passed.contains(step.key)) ahead.append(step.key);
    }
    return ahead;
}

// A placing day: the probes of as many undecided steps as the day holds,
// in path order; a procedure step is probed by a short set of its own when
// it comes first. False when there is nothing left to probe.
bool planPlacement(const PlanInput& input, const QString& current, int length, DaySet& set)
{
    const QSet<QString> passed(input.passed.cbegin(), input.passed.cend());
    QSet<QString> asked;
    for (const QString& step : stepsAhead(input.path, current, passed)) {
        if (!isRecallStep(step)) {
            if (set.problems.isEmpty() && length >= kPlacementProbes) {
                set.procedureKind = step;
                set.procedureCount = kPlacementProbes;
            }
            break;
        }
        QList<ReviewProblem> probes;
        for (const ReviewProblem& probe : placementProbes(step))
            if (!asked.contains(probe.fact) && !seenFact(input, probe.fact)) probes.append(probe);
        if (set.problems.size() + probes.size() > length) break;
        for (const ReviewProblem& probe : probes) asked.insert(probe.fact);
        set.problems.append(probes);
    }
    return !set.problems.isEmpty() || set.procedureCount > 0;
}

} // namespace

Passing stepsPassed(const PlanInput& input)
{
    QSet<QString> passed(input.passed.cbegin(), input.passed.cend());
    QSet<QString> newly;
    for (const PathStep& step : input.path.steps) {
        if (step.skipped || passed.contains(step.key)) continue;
        if (isRecallStep(step.key) ? recallFactsMastered(input, step.key)
                                   : procedureScoresPass(input, step.key))
            newly.insert(step.key);
    }
    passed.unite(newly);

    bool placing = input.placing;
    if (placing) {
        QStringList all = input.passed;
        all.append(QStringList(newly.cbegin(), newly.cend()));
        const std::optional<QString> current = currentStep(input.path, all);
        // Nothing left on the path: nothing to place.
        placing = current.has_value();
        if (current) {
            const QStringList ahead = stepsAhead(input.path, *current, passed);
            placing = !ahead.isEmpty();
            for (const QString& step : ahead) {
                const Placed placed = placementOf(input, step);
                if (placed == Placed::kUndecided) break;
                if (placed == Placed::kFailed) {
                    placing = false;
                    break;
                }
                newly.insert(step);
                placing = step != ahead.last();
            }
        }
    }

    Passing passing;
    passing.placing = placing;
    for (const PathStep& step : input.path.steps)
        if (newly.contains(step.key)) passing.passed.append(step.key);
    return passing;
}

DaySet planDay(const PlanInput& input)
{
    DaySet set;
    set.seed = daySeed(input.child, input.today);
    const std::optional<QString> step = currentStep(input.path, input.passed);
    set.step = step.value_or(QString());
    const int length = input.problems > 0 ? input.problems : kDefaultDayProblems;
    if (input.placing && step && planPlacement(input, *step, length, set)) {
        set.placing = true;
        return set;
    }

    const bool procedure = step && !isRecallStep(*step);
    QList<ReviewProblem> newFacts;
    QSet<QString> stepKeys;
    if (step && !procedure)
        for (const ReviewProblem& fact : stepFacts(*step)) {
            stepKeys.insert(fact.fact);
            if (!seenFact(input, fact.fact)) newFacts.append(fact);
        }
    // Room kept for the step's own work, so that what comes back never
    // crowds it out.
    const int kept = procedure            ? kShortestProcedureSet
                     : newFacts.isEmpty() ? 0
                                          : kFewestNewFacts * (1 + kKnownAfterNew);
    const qsizetype mostBack = std::max(0, length - kept);

    const QList<const PlanFact*> facts = factsInOrder(input);
    QSet<QString> chosen;
    // Missed facts whose day has come, the earliest due first.
    QList<const PlanFact*> due;
    for (const PlanFact* fact : facts)
        if (fact->missedEver && fact->due.isValid() && fact->due <= input.today &&
            fact->state != FactState::kMastered)
            due.append(fact);
    std::stable_sort(due.begin(), due.end(),
                     [](const PlanFact* a, const PlanFact* b) { return a->due < b->due; });
    for (const PlanFact* fact : due) {
        if (set.problems.size() >= mostBack) break;
        set.problems.append(plannedProblem(*fact, true));
        chosen.insert(fact->fact);
    }
    // Then right but slow, the furthest over its limit first.
    QList<const PlanFact*> slow;
    for (const PlanFact* fact : facts)
        if (fact->state == FactState::kSlow && !chosen.contains(fact->fact)) slow.append(fact);
    std::stable_sort(slow.begin(), slow.end(), [](const PlanFact* a, const PlanFact* b) {
        return a->overLimitMs > b->overLimitMs;
    });
    for (const PlanFact* fact : slow) {
        if (set.problems.size() >= mostBack) break;
        set.problems.append(plannedProblem(*fact, true));
        chosen.insert(fact->fact);
    }

    if (procedure) {
        set.procedureKind = *step;
        set.procedureCount = std::clamp(length - int(set.problems.size()), kShortestProcedureSet,
                                        kLongestProcedureSet);
        return set;
    }

    // Known facts drawn for the day, the step's own facts still being learnt
    // first, so that they go on towards being known by heart.
    QList<const PlanFact*> known;
    for (const PlanFact* fact : facts)
        if (knownFact(*fact) && !chosen.contains(fact->fact)) known.append(fact);
    std::mt19937 random(set.seed);
    std::shuffle(known.begin(), known.end(), random);
    std::stable_partition(known.begin(), known.end(), [&](const PlanFact* fact) {
        return stepKeys.contains(fact->fact) && fact->state != FactState::kMastered;
    });
    qsizetype nextKnown = 0;
    auto addKnown = [&](qsizetype count) {
        for (; count > 0 && nextKnown < known.size() && set.problems.size() < length; --count)
            set.problems.append(plannedProblem(*known.at(nextKnown++), false));
    };

    const qsizetype room = length - set.problems.size();
    const qsizetype newCount = std::min(
        {newFacts.size(), room,
         std::clamp<qsizetype>(room / (1 + kKnownAfterNew), kFewestNewFacts, kMostNewFacts)});
    for (qsizetype i = 0; i < newCount && set.problems.size() < length; ++i) {
        set.problems.append(newFacts.at(i));
        addKnown(kKnownAfterNew);
    }
    addKnown(length);
    return set;
}

quint32 daySeed(qint64 child, const QDate& day)
{
    // A 64-bit mix of the child and the day's number, folded to 32 bits.
    quint64 x = quint64(child) * 0x9E3779B97F4A7C15ULL ^ quint64(day.toJulianDay());
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    x ^= x >> 31;
    return quint32(x ^ (x >> 32));
}

int problemsForTenMinutes(std::optional<qint64> usualMsPerProblem)
{
    if (!usualMsPerProblem) return kDefaultDayProblems;
    const qint64 perProblem = std::max<qint64>(0, *usualMsPerProblem) + kFeedbackMs;
    return int(
        std::clamp<qint64>(kTenMinutesMs / perProblem, kFewestDayProblems, kMostDayProblems));
}

} // namespace common::records
