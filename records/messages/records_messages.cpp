// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/messages/records_messages.h"

namespace common::records::messages {

QString nickname(NicknameProblem problem)
{
    switch (problem) {
    case NicknameProblem::kEmpty: return QStringLiteral("ニックネームを入れてください。");
    case NicknameProblem::kTooLong:
        return QStringLiteral("ニックネームは40文字までにしてください。");
    case NicknameProblem::kControl: break;
    }
    return QStringLiteral("ニックネームに使えない文字（制御文字）が入っています。");
}

QString duplicateNickname(const QString& nickname)
{
    return QStringLiteral("「%1」はもういます。ほかのニックネームにしてください。").arg(nickname);
}

QString notWritten(const QString& error)
{
    return QStringLiteral("記録に書けませんでした（%1）。").arg(error);
}

QString movedAside(const QString& movedToFileName)
{
    return QStringLiteral(
               "記録のファイルが読めなかったため、「%1」という名前で残し、新しい記録を始めました。")
        .arg(movedToFileName);
}

std::optional<QString> openingWarning(const OpeningReport& report)
{
    switch (report.problem) {
    case ServerProblem::kNone: break;
    case ServerProblem::kName:
        return QStringLiteral("学校の記録のサーバーの設定「%1」はサービス名として使えません。")
            .arg(report.service);
    case ServerProblem::kUnreachable:
        return QStringLiteral("学校の記録のサーバーにつながりません（サービス「%1」）。"
                              "ネットワークと設定を確かめてください。")
            .arg(report.service);
    case ServerProblem::kRefused:
        return QStringLiteral("学校の記録のサーバーがログインを受け付けませんでした"
                              "（サービス「%1」）。")
            .arg(report.service);
    case ServerProblem::kNoTables:
        return QStringLiteral("学校の記録のサーバーに記録の表がありません（サービス「%1」）。"
                              "管理者に準備をお願いしてください。")
            .arg(report.service);
    case ServerProblem::kOlderTables:
        return QStringLiteral("学校の記録のサーバーの表が古い版のままです（サービス「%1」）。"
                              "管理者に更新をお願いしてください。")
            .arg(report.service);
    }
    if (report.opening == Opening::kReadOnly)
        return QStringLiteral(
            "記録のファイルは新しい版のプログラムで作られたものです。読むだけにして開きました。"
            "子どもの追加、名前の変更、削除はできません。");
    if (report.opening == Opening::kFailed)
        return QStringLiteral("記録のファイルを開けませんでした（%1）。").arg(report.detail);
    return std::nullopt;
}

QString notSent(const std::optional<QString>& why)
{
    return why.value_or(QStringLiteral("学校の記録のサーバーに答えを送れませんでした。")) +
           QStringLiteral("答えはこのコンピューターの記録に残してあり、"
                          "サーバーにつながったときに送ります。");
}

QString answersCsvHeader()
{
    return QStringLiteral(
        "日時(UTC),プログラム,種類,セット,何問目,問題,正しい答え,打った答え,何回目,正解,"
        "答えを見た,ヒント,かかった時間(ミリ秒),時間の目安(ミリ秒)\n");
}

} // namespace common::records::messages
