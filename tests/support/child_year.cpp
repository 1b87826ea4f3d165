// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/child_year.h"

#include "records/store/records_store.h"

#include <QSqlQuery>

#include <random>

namespace test_support {

bool writeChildYear(common::records::RecordsStore& store, qint64 child, const QDateTime& end,
                    int days)
{
    // Written for speed: a power cut while generating costs only the file.
    QSqlQuery(QSqlDatabase::database(store.connectionName()))
        .exec(QStringLiteral("PRAGMA synchronous=OFF"));
    const common::SetRecord set{
        QStringLiteral("numira"), QStringLiteral("table:1,2,3,4,5,6,7,8,9+0"), 20, {}};
    std::mt19937 chance(7);
    const QDateTime start = end.toUTC().addDays(1 - days);
    for (int day = 0; day < days; ++day) {
        for (int s = 0; s < 5; ++s) {
            qint64 setId = 0;
            int right = 0;
            for (int k = 0; k < 20; ++k) {
                const int a = 1 + int(chance() % 9), b = int(chance() % 10);
                common::AnswerRecord answer;
                answer.position = k + 1;
                answer.fact = QStringLiteral("mul:%1x%2").arg(a).arg(b);
                answer.rightAnswer = QString::number(a * b);
                // Some facts are missed far more often than others: 2% to 38%.
                const bool miss = int(chance() % 100) < 2 + 6 * ((a * b) % 7);
                answer.typed =
                    miss ? QString::number(a * b + 1 + int(chance() % 3)) : answer.rightAnswer;
                answer.correct = !miss;
                answer.elapsedMs = 1500 + int(chance() % 4000);
                answer.answeredAt = start.addDays(day).addSecs(s * 600 + k * 20);
                if (!store.recordAnswer(child, set, setId, answer)) return false;
                if (miss) {
                    answer.attempt = 2;
                    answer.typed = answer.rightAnswer;
                    answer.correct = true;
                    answer.answeredAt = answer.answeredAt.addSecs(5);
                    if (!store.recordAnswer(child, set, setId, answer)) return false;
                }
                right += !miss;
            }
            store.endSet(setId, right * 5, start.addDays(day).addSecs(s * 600 + 500));
        }
    }
    return true;
}

} // namespace test_support
