// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The picture and sound files both programs load by bare name. The asset tool
// writes them under these names, and its build rules read the names from
// here, so they are written once.

namespace common::assets {

inline constexpr char kMascotPicture[] = "mascot.bmp";
inline constexpr char kRightPicture[] = "maru1.bmp";
inline constexpr char kWrongPicture[] = "batu1.bmp";
inline constexpr char kRightSound[] = "maru1.wav";
inline constexpr char kWrongSound[] = "batu1.wav";

} // namespace common::assets
