// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/records/answers_csv.h"

#include "common/records/records_store.h"

#include <QSaveFile>
#include <QSqlQuery>
#include <QVariant>

namespace common::records {

namespace {

// One cell: quoted where it holds a separator, a quote or a line break; a
// would-be formula turned into text.
void appendCell(QString& row, QString cell)
{
    const bool formula =
        !cell.isEmpty() && (cell[0] == u'=' || cell[0] == u'+' || cell[0] == u'@' ||
                            (cell[0] == u'-' && (cell.size() == 1 || !cell[1].isDigit())));
    if (formula) cell.prepend(u'\'');
    if (cell.contains(u',') || cell.contains(u'"') || cell.contains(u'\n') ||
        cell.contains(u'\r')) {
        cell.replace(u'"', QStringLiteral("\"\""));
        cell = u'"' + cell + u'"';
    }
    if (!row.isEmpty() && !row.endsWith(u'\n')) row += u',';
    row += cell;
}

} // namespace

QByteArray answersCsv(RecordsStore& store, qint64 child)
{
    QString text;
    for (const char16_t* header :
         {u"日時(UTC)", u"プログラム", u"種類", u"セット", u"何問目", u"問題", u"正しい答え",
          u"打った答え", u"何回目", u"正解", u"答えを見た", u"ヒント", u"かかった時間(ミリ秒)"})
        appendCell(text, QString::fromUtf16(header));
    text += u'\n';
    QSqlQuery q(QSqlDatabase::database(store.connectionName(), false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT a.answered_at, s.program, s.choice, s.id, a.position, a.fact, a.right_answer, "
        "a.typed, a.attempt, a.correct, a.answer_shown, a.hint, a.elapsed_ms FROM answers a "
        "JOIN sets s ON a.set_id = s.id WHERE s.child_id = ? ORDER BY a.id"));
    q.addBindValue(child);
    if (!q.exec()) return {};
    while (q.next()) {
        for (int c = 0; c < 13; ++c) appendCell(text, q.value(c).toString());
        text += u'\n';
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool writeAnswersCsv(RecordsStore& store, qint64 child, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(answersCsv(store, child)) >= 0 &&
        file.commit())
        return true;
    if (error) *error = file.errorString();
    return false;
}

} // namespace common::records
