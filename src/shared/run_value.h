// The Run value "VUR starten" that starts the monitor at log-on; the monitor and the configurator write it
// (Windows builds only). Errors of the registry calls are ignored, as nothing could be done about them.
#pragma once

#include <string>

namespace vur {

// Opens HKEY_CURRENT_USER's Run key, creating it when missing, and writes the value with the given data.
void WriteRunValue(const std::string& data);

// Removes the value; a missing value or key is no error.
void DeleteRunValue();

} // namespace vur
