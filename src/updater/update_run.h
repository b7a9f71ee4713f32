// The update run behind "VUR jetzt updaten": fetch the list, compare every listed file's checksum, fetch and
// verify what differs, put it in place or schedule it for the next start of Windows, report the count.
#pragma once

#include "updater/update_host.h"

namespace vur::updater {

struct UpdateOutcome {
    bool serverReached = false;
    bool listRefused = false; // unsigned, wrongly signed or older than the last one accepted
    int differing = 0;     // entries whose local checksum differed, fetched or not
    int installed = 0;     // put in place or scheduled for the next start of Windows
    int failed = 0;        // differing or refused, and not installed
    bool restart = false;  // a file waits for the next start of Windows
};

// A size or checksum line that is no number, a download target that cannot be created or a write that fails
// (a full disk) raise out of Run at that point, for the general error box; the download's file is removed
// on the way out.
UpdateOutcome RunUpdate(UpdateHost& host);

} // namespace vur::updater
