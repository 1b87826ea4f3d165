// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rule for a child's nickname, as the records keep it.

#include <QString>

#include <optional>

namespace common::records {

// Why a nickname cannot be kept.
enum class NicknameProblem { kEmpty, kTooLong, kControl };

// The name as kept: blanks around it (the ideographic space among them) cut
// off, in Unicode's composed form.
QString trimmedNickname(const QString& nickname);
// Empty, blanks only, over 40 characters or with control characters; nothing
// when it can be kept.
std::optional<NicknameProblem> checkNickname(const QString& nickname);

// Why a nickname cannot be stored (in Japanese, for the adult), or nothing
// when it can, as checkNickname() says.
std::optional<QString> nicknameProblem(const QString& nickname);

} // namespace common::records
