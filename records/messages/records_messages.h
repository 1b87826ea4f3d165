// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every text the records show an adult, in Japanese, in one place: the data
// layer says what happened as values, and these words say it to the adult.

#include "records/model/nickname.h"
#include "records/model/records_types.h"

#include <QString>

#include <optional>

namespace common::records::messages {

QString nickname(NicknameProblem problem);
QString duplicateNickname(const QString& nickname);
// A child's row could not be written.
QString notWritten(const QString& error);
// The notice kept for the next window after a damaged file was moved aside.
QString movedAside(const QString& movedToFileName);
// What the adult is to be told of an opening: nothing after one that
// opened or moved a file aside (whose notice waits in the file).
std::optional<QString> openingWarning(const OpeningReport& report);
// The notice kept when a pupil's answers could not go to the school's
// server; `why` is the opening's warning when there was one.
QString notSent(const std::optional<QString>& why);
// The header row of a child's answers as CSV.
QString answersCsvHeader();

} // namespace common::records::messages
