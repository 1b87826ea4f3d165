// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/records/answers_csv.h"

#include "common/records/records_store.h"

#include <QSaveFile>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace common::records {

namespace {

// One cell after the row's others: quoted where it holds a separator, a
// quote or a line break; a would-be formula turned into text. Most cells
// need neither and are appended as they are, in one pass over them.
void appendCell(QString& row, const QString& cell, bool first)
{
    if (!first) row += u',';
    const bool formula =
        !cell.isEmpty() && (cell[0] == u'=' || cell[0] == u'+' || cell[0] == u'@' ||
                            (cell[0] == u'-' && (cell.size() == 1 || !cell[1].isDigit())));
    const bool quoted = std::any_of(cell.begin(), cell.end(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\n' || c == u'\r';
    });
    if (!formula && !quoted) {
        row += cell;
        return;
    }
    QString text = formula ? u'\'' + cell : cell;
    if (quoted) text = u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
    row += text;
}

} // namespace

QByteArray answersCsv(RecordsStore& store, qint64 child)
{
    QString text;
    bool first = true;
    for (const char16_t* header :
         {u"日時(UTC)", u"プログラム", u"種類", u"セット", u"何問目", u"問題", u"正しい答え",
          u"打った答え", u"何回目", u"正解", u"答えを見た", u"ヒント", u"かかった時間(ミリ秒)"}) {
        appendCell(text, QString::fromUtf16(header), first);
        first = false;
    }
    text += u'\n';
    QSqlQuery q(QSqlDatabase::database(store.connectionName(), false));
    q.setForwardOnly(true);
    // The program's own cells (times, names, numbers, hints), which never
    // need quoting, come joined by SQLite: every value fetched costs far
    // more than joining it. The texts that may need it come one by one.
    q.prepare(QStringLiteral(
        "SELECT a.answered_at || ',' || s.program, s.choice, s.id || ',' || a.position, a.fact, "
        "a.right_answer, a.typed, a.attempt || ',' || a.correct || ',' || a.answer_shown || ',' "
        "|| coalesce(a.hint, '') || ',' || a.elapsed_ms FROM answers a "
        "JOIN sets s ON a.set_id = s.id WHERE s.child_id = ? ORDER BY a.id"));
    q.addBindValue(child);
    if (!q.exec()) return {};
    while (q.next()) {
        text += q.value(0).toString();
        appendCell(text, q.value(1).toString(), false);
        text += u',' + q.value(2).toString();
        for (int c = 3; c < 6; ++c) appendCell(text, q.value(c).toString(), false);
        text += u',' + q.value(6).toString() + u'\n';
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool writeAnswersCsv(RecordsStore& store, qint64 child, const QString& path, QString* error)
{
    QSaveFile file(path);
    // A child's answers are the owner's alone, as the records file is.
    if (file.open(QIODevice::WriteOnly) &&
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
        file.write(answersCsv(store, child)) >= 0 && file.commit())
        return true;
    if (error) *error = file.errorString();
    return false;
}

} // namespace common::records
