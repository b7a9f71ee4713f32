// The quarantine manager's file system seam over the system's calls.
#pragma once

#include "vault/quarantine_files.h"

namespace vur::vault {

QuarantineFiles& SystemQuarantineFiles();

} // namespace vur::vault
