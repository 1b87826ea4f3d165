// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The records' own threads give way to the drill's window: on a busy machine
// (a lab with a class answering at once) a Return is handled first and the
// writing and sending follow a moment later.

#include <sys/resource.h>
#include <unistd.h>

namespace common::records {

// Lowers the calling thread's priority (Linux takes a thread's id here).
inline void giveWayToTheWindow() { setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10); }

} // namespace common::records
