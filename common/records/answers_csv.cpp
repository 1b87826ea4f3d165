// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/records/answers_csv.h"

#include "common/records/records_store.h"

#include <QSaveFile>
#include <QSqlQuery>
#include <QVariant>

namespace common::records {

QByteArray answersCsv(RecordsStore& store, qint64 child)
{
    QString text = QStringLiteral(
        "日時(UTC),プログラム,種類,セット,何問目,問題,正しい答え,打った答え,何回目,正解,"
        "答えを見た,ヒント,かかった時間(ミリ秒)\n");
    QSqlQuery q(QSqlDatabase::database(store.connectionName(), false));
    q.setForwardOnly(true);
    // Each row comes from SQLite as its whole line, made by one printf:
    // fetching a value costs far more than formatting it there, and joining
    // with || copies the line at every step. A kind and a fact may hold a
    // comma and are quoted (%w doubles a quote). The right answer and what was typed are cells like
    // any other text: one that a spreadsheet would take for a formula (=, +, @, or - but before a
    // digit) gets an apostrophe first, and one holding a separator, a quote or a line break is
    // quoted, its quotes doubled. The set of missed facts is named as the child saw it.
    q.prepare(QStringLiteral(
        R"sql(SELECT printf('%s,%s,"%w",%lld,%d,"%w",%s,%s,%d,%d,%d,%s,%lld',
  answered_at, program, choice, set_id, position, fact,
  CASE WHEN r GLOB '*[,"' || char(10, 13) || ']*' THEN printf('"%w"', r) ELSE r END,
  CASE WHEN t GLOB '*[,"' || char(10, 13) || ']*' THEN printf('"%w"', t) ELSE t END,
  attempt, correct, answer_shown, coalesce(hint, ''), elapsed_ms)
FROM (SELECT a.id, a.answered_at, s.program,
        CASE WHEN s.program = 'numira' AND s.choice = 'review' THEN 'にがて' ELSE s.choice END
          AS choice, a.set_id, a.position, a.fact,
        CASE WHEN a.right_answer GLOB '[=+@]*' OR a.right_answer GLOB '-[^0-9]*'
               OR a.right_answer = '-'
             THEN '''' || a.right_answer ELSE a.right_answer END AS r,
        CASE WHEN a.typed GLOB '[=+@]*' OR a.typed GLOB '-[^0-9]*' OR a.typed = '-'
             THEN '''' || a.typed ELSE a.typed END AS t,
        a.attempt, a.correct, a.answer_shown, a.hint, a.elapsed_ms
      FROM answers a JOIN sets s ON a.set_id = s.id WHERE s.child_id = ?)
ORDER BY id)sql"));
    q.addBindValue(child);
    if (!q.exec()) return {};
    while (q.next()) text += q.value(0).toString() + u'\n';
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
