// The scan run's file system on Windows: FindFirstFileA searches, the logical drives, the error mode.
#pragma once

#include "scanner/scan_host.h"

namespace vur::scanner {

ScanFileSystem& SystemFileSystem();

} // namespace vur::scanner
