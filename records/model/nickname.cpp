// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/model/nickname.h"

#include "records/messages/records_messages.h"

#include <QList>

namespace common::records {

namespace {

constexpr int kMaxNicknameLength = 40;

} // namespace

QString trimmedNickname(const QString& nickname)
{
    qsizetype begin = 0, end = nickname.size();
    while (begin < end && nickname.at(begin).isSpace()) ++begin;
    while (end > begin && nickname.at(end - 1).isSpace()) --end;
    return nickname.mid(begin, end - begin).normalized(QString::NormalizationForm_C);
}

std::optional<NicknameProblem> checkNickname(const QString& nickname)
{
    const QString name = trimmedNickname(nickname);
    if (name.isEmpty()) return NicknameProblem::kEmpty;
    if (name.toUcs4().size() > kMaxNicknameLength) return NicknameProblem::kTooLong;
    for (const char32_t c : name.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Other_Control || category == QChar::Other_Format ||
            category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            return NicknameProblem::kControl;
    }
    return std::nullopt;
}

std::optional<QString> nicknameProblem(const QString& nickname)
{
    if (const auto problem = checkNickname(nickname)) return messages::nickname(*problem);
    return std::nullopt;
}

} // namespace common::records
