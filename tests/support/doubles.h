// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test doubles for the platform services the programs reach through
// interfaces: boxes answered from a script, sounds counted instead of played,
// chance from a seed or a script, and pages recorded instead of printed.
// Only tests (and benchmarks) link them.

#include "common/dialogs.h"
#include "common/random_source.h"
#include "common/sound_player.h"
#include "common/worksheet_page.h"
#include "records/model/records_service.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <random>

namespace test_support {

// Answers from a script, and a record of every box shown. An empty script
// gives the box's "dismissed" answer (preset text, Closed), except for the
// print dialog, which is confirmed: most tests are about the sheet printed.
class ScriptedDialogs final : public common::Dialogs {
public:
    struct Shown {
        QString kind; // "input", "information", "confirm", "warning", "error", "printer", "pick"
        QString text;
    };

    std::deque<QString> inputs;                    // texts the input box returns
    std::deque<Answer> answers;                    // answers to information and confirm boxes
    std::deque<bool> printerAnswers;               // Print (true) or Cancel in the print dialog
    std::function<void(QPrinter&)> onPrinterSetup; // lets a test choose the output
    std::deque<int> picks;                         // choices taken in pick boxes (-1: closed)
    QList<Shown> shown;

    QString inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                     const QString& preset) override;
    Answer information(QWidget* parent, const QString& text) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    int pick(QWidget* parent, const QString& question, const QStringList& choices) override;

    int count(const QString& kind) const;
    QStringList texts(const QString& kind) const;
};

// Counts what would have been played.
class RecordingSoundPlayer final : public common::SoundPlayer {
public:
    bool play(const QString& path) override;
    QStringList played; // file names
};

// What a drill gave its records, one line each: "set <program> <choice>
// <count>", "answer <position> <attempt><r|w>[s: answer shown][ <hint>]",
// "end <score>", "day" (the day's set finished); the answers themselves are
// kept too.
class RecordingRecords final : public common::RecordsService {
public:
    void setStarted(const common::SetRecord& set) override;
    void answered(const common::AnswerRecord& answer) override;
    void setEnded(int score) override;
    std::optional<QList<common::ReviewProblem>> reviewSet() override { return review; }
    std::optional<bool> keyingKnown() override { return keying; }
    std::optional<QList<common::ReviewProblem>> pairReviewSet() override { return pairReview; }
    std::optional<common::DayPage> dayPage() override { return day; }
    std::optional<common::DayOutcome> dayFinished() override
    {
        events << QStringLiteral("day");
        return outcome;
    }
    QStringList events;
    QList<common::AnswerRecord> answers;
    std::optional<QList<common::ReviewProblem>> review;     // nothing: records off
    std::optional<QList<common::ReviewProblem>> pairReview; // nothing: nobody known
    std::optional<bool> keying;                             // nothing: records off
    std::optional<common::DayPage> day;                     // nothing: records off
    std::optional<common::DayOutcome> outcome;              // what finishing the day earns
};

// A fixed seed, for randomised tests and benchmarks that must be repeatable.
class SeededRandomSource final : public common::RandomSource {
public:
    explicit SeededRandomSource(std::uint64_t seed) : m_engine(seed) {}
    int uniform(int n) override;
    void reseedFromClock() override { ++reseeds; }
    int reseeds = 0;

private:
    std::mt19937_64 m_engine;
};

// Tests script the draws: each uniform(n) takes the next queued value, which
// must lie in 0..n-1 (a script that does not fit the draw is a test error and
// throws). When the script runs out, draws continue from a fixed-seed engine.
class ScriptedRandomSource final : public common::RandomSource {
public:
    ScriptedRandomSource() = default;
    explicit ScriptedRandomSource(std::initializer_list<int> values) : m_values(values) {}
    void push(int value) { m_values.push_back(value); }
    template <typename Range> void pushAll(const Range& values)
    {
        for (int v : values) m_values.push_back(v);
    }
    int uniform(int n) override;
    void reseedFromClock() override { ++reseeds; }
    bool exhausted() const { return m_values.empty(); }

    int reseeds = 0;
    int draws = 0;

private:
    std::deque<int> m_values;
    std::mt19937_64 m_fallback{12345};
};

// One operation on a recorded page.
struct PageOp {
    enum Kind { kBegin, kNewPage, kFont, kMoveTo, kLineTo, kText, kEnd, kAbort, kPen, kFill };
    Kind kind = kBegin;
    QPoint at{};    // MoveTo, LineTo, Text
    QString text{}; // the font's family, or the text written
    int points = 0; // the font's size, or the pen's width
    QRect area{};   // Fill
    QRgb colour = 0;
    bool operator==(const PageOp&) const = default;
};

// Records every operation, for tests; its job can be made to fail at the start.
class RecordingSurface final : public common::PageSurface {
public:
    explicit RecordingSurface(QSize page) : m_page(page) {}
    QSize pageSize() const override { return m_page; }
    bool begin() override;
    bool newPage() override;
    void setFont(const QString& family, int points) override;
    void moveTo(QPoint p) override;
    void lineTo(QPoint p) override;
    void textOut(QPoint topLeft, const QString& text) override;
    void setPenWidth(int width) override;
    void fillRect(QRect area, QRgb colour) override;
    bool end() override;
    void abort() override;
    QString errorText() const override
    {
        return m_failBegin ? QStringLiteral("no printer") : QString();
    }

    void failOnBegin() { m_failBegin = true; }
    QList<PageOp> ops;
    int pages = 0;
    bool ended = false;
    bool aborted = false;

    int count(PageOp::Kind kind) const;
    bool usedFont(const QString& family, int points) const;
    // Texts of page p (0-based) with their places.
    QList<QPair<QPoint, QString>> textsOnPage(int page) const;
    // Operations of page p (0-based), from its begin or new page on.
    QList<PageOp> opsOnPage(int page) const;

private:
    QSize m_page;
    bool m_failBegin = false;
};

} // namespace test_support
