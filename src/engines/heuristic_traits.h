// What the heuristic engine looks for in a program file: the traits of a dialer, each found in the import
// table or as text in the file (ASCII, and for numbers and registry and phonebook texts also UTF-16).
#pragma once

#include "engines/pe_image.h"

#include <cstddef>
#include <string>

namespace vur::engines {

struct Traits {
    std::string dialImport;    // a dialing function the file imports, e.g. "RasDialA"
    std::string dialLookup;    // a dialing function named as text but not imported: looked up at run time
    std::string premiumNumber; // the range of a premium-rate number, e.g. "0190", "+881", "118"
    bool premiumOnlyWide = false;
    std::string dialCommand;   // a modem command that dials or sets dialing up: "ATDT", "ATDP", "ATD", "ATX"
    bool phonebook = false;    // "rasphone.pbk"
    bool runKey = false;       // "...\CurrentVersion\Run...": the file can register itself to start with Windows
    bool testMarker = false;   // the harmless test marker that stands for a suspicious file
};

// The traits of a file whose bytes are `data` and whose PE structure (when it is one) is `image`. Function
// names inside the file's own export directory do not count: a system library does not dial by exporting.
Traits FindTraits(const unsigned char* data, std::size_t size, const PeImage* image);

} // namespace vur::engines
