// The text of the exception being handled, for the error box: every kind of exception gets one, so that
// none bypasses the once-only telling of errors.
#pragma once

#include <string>

namespace vur {

// The text for anything that is not a std::exception, in every program.
extern const char* const kUnknownError;

// Only inside a catch block: the message of a std::exception, "Unbekannter Fehler" for anything else.
std::string CaughtErrorMessage();

} // namespace vur
