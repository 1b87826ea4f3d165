// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/asset_locator.h"
#include "common/print_flow.h"
#include "records/model/records_service.h"

namespace common {

class Dialogs;
class RandomSource;
class SoundPlayer;

// The platform services a drill window reaches through interfaces: the real
// ones in the programs, doubles in the tests.
struct WindowServices {
    Dialogs& dialogs;
    SoundPlayer& sound;
    RandomSource& random;
    AssetLocator locator = {};
    PageSurfaceFactory pages = printerPages();
    RecordsService& records = nullRecords(); // the drill's records: none unless turned on
};

} // namespace common
