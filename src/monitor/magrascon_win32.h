// The RAS layer's system table on Windows, for the monitor and for tests that swap single entries.
#pragma once

#include "monitor/magrascon_api.h"

namespace vur::monitor {

const TRasSystem& Win32RasSystem();

} // namespace vur::monitor
