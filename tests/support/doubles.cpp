// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/doubles.h"

#include <QFileInfo>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace test_support {

QString ScriptedDialogs::inputBox(QWidget*, const QString& caption, const QString& prompt,
                                  const QString& preset)
{
    shown.append({"input", caption + u'\n' + prompt + u'\n' + preset});
    if (inputs.empty()) return preset;
    QString text = inputs.front();
    inputs.pop_front();
    return text;
}

namespace {
common::Dialogs::Answer next(std::deque<common::Dialogs::Answer>& answers)
{
    if (answers.empty()) return common::Dialogs::Answer::kClosed;
    const auto a = answers.front();
    answers.pop_front();
    return a;
}

int draw(std::mt19937_64& engine, int n)
{
    if (n < 1) throw std::invalid_argument("uniform(n) needs n >= 1");
    return static_cast<int>(std::uniform_int_distribution<std::int64_t>(0, n - 1)(engine));
}
} // namespace

common::Dialogs::Answer ScriptedDialogs::information(QWidget*, const QString& text)
{
    shown.append({"information", text});
    return next(answers);
}

common::Dialogs::Answer ScriptedDialogs::confirm(QWidget*, const QString& text)
{
    shown.append({"confirm", text});
    return next(answers);
}

void ScriptedDialogs::warning(QWidget*, const QString& text) { shown.append({"warning", text}); }

void ScriptedDialogs::error(QWidget*, const QString& text) { shown.append({"error", text}); }

bool ScriptedDialogs::printerSetup(QWidget*, QPrinter& printer)
{
    shown.append({"printer", QString()});
    if (onPrinterSetup) onPrinterSetup(printer);
    if (printerAnswers.empty()) return true;
    const bool ok = printerAnswers.front();
    printerAnswers.pop_front();
    return ok;
}

int ScriptedDialogs::pick(QWidget*, const QString& question, const QStringList& choices)
{
    shown.append({"pick", question + u'|' + choices.join(u'|')});
    if (picks.empty()) return -1;
    const int taken = picks.front();
    picks.pop_front();
    return taken;
}

void RecordingRecords::setStarted(const common::SetRecord& set)
{
    events << QStringLiteral("set %1 %2 %3").arg(set.program, set.choice).arg(set.count);
}

void RecordingRecords::answered(const common::AnswerRecord& a)
{
    answers << a;
    events << QStringLiteral("answer %1 %2").arg(a.position).arg(a.attempt) +
                  (a.correct ? u'r' : u'w') + (a.answerShown ? QStringLiteral("s") : QString()) +
                  (a.hint.isEmpty() ? QString() : u' ' + a.hint);
}

void RecordingRecords::setEnded(int score) { events << QStringLiteral("end %1").arg(score); }

int ScriptedDialogs::count(const QString& kind) const
{
    int n = 0;
    for (const auto& s : shown) n += s.kind == kind;
    return n;
}

QStringList ScriptedDialogs::texts(const QString& kind) const
{
    QStringList out;
    for (const auto& s : shown)
        if (s.kind == kind) out.append(s.text);
    return out;
}

bool RecordingSoundPlayer::play(const QString& path)
{
    if (!common::isPlayableWave(path)) return false;
    played.append(QFileInfo(path).fileName());
    return true;
}

int SeededRandomSource::uniform(int n) { return draw(m_engine, n); }

int ScriptedRandomSource::uniform(int n)
{
    ++draws;
    if (m_values.empty()) return draw(m_fallback, n);
    const int v = m_values.front();
    m_values.pop_front();
    if (v < 0 || v >= n)
        throw std::out_of_range("scripted draw " + std::to_string(v) + " outside 0.." +
                                std::to_string(n - 1));
    return v;
}

bool RecordingSurface::begin()
{
    if (m_failBegin) return false;
    ops.append({PageOp::kBegin, {}, {}, 0});
    pages = 1;
    return true;
}

bool RecordingSurface::newPage()
{
    ops.append({PageOp::kNewPage, {}, {}, 0});
    ++pages;
    return true;
}

void RecordingSurface::setFont(const QString& family, int points)
{
    ops.append({PageOp::kFont, {}, family, points});
}

void RecordingSurface::moveTo(QPoint p) { ops.append({PageOp::kMoveTo, p, {}, 0}); }

void RecordingSurface::lineTo(QPoint p) { ops.append({PageOp::kLineTo, p, {}, 0}); }

void RecordingSurface::textOut(QPoint p, const QString& text)
{
    ops.append({PageOp::kText, p, text, 0});
}

void RecordingSurface::setPenWidth(int width) { ops.append({PageOp::kPen, {}, {}, width}); }

void RecordingSurface::fillRect(QRect area, QRgb colour)
{
    ops.append({PageOp::kFill, {}, {}, 0, area, colour});
}

bool RecordingSurface::end()
{
    ops.append({PageOp::kEnd, {}, {}, 0});
    ended = true;
    return true;
}

void RecordingSurface::abort()
{
    ops.append({PageOp::kAbort, {}, {}, 0});
    aborted = true;
}

int RecordingSurface::count(PageOp::Kind kind) const
{
    return int(std::count_if(ops.begin(), ops.end(),
                             [kind](const PageOp& op) { return op.kind == kind; }));
}

bool RecordingSurface::usedFont(const QString& family, int points) const
{
    return ops.contains(PageOp{PageOp::kFont, {}, family, points});
}

QList<QPair<QPoint, QString>> RecordingSurface::textsOnPage(int page) const
{
    QList<QPair<QPoint, QString>> out;
    for (const PageOp& op : opsOnPage(page))
        if (op.kind == PageOp::kText) out.append({op.at, op.text});
    return out;
}

QList<PageOp> RecordingSurface::opsOnPage(int page) const
{
    QList<PageOp> out;
    int current = -1;
    for (const PageOp& op : ops) {
        if (op.kind == PageOp::kBegin || op.kind == PageOp::kNewPage) ++current;
        if (current == page) out.append(op);
    }
    return out;
}

} // namespace test_support
