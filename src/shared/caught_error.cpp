// CaughtErrorMessage.
#include "shared/caught_error.h"

#include <exception>

namespace vur {

const char* const kUnknownError = "Unbekannter Fehler";

std::string CaughtErrorMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return kUnknownError;
    }
}

} // namespace vur
