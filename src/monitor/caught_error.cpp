// CaughtErrorMessage.
#include "caught_error.h"

#include "texts.h"

#include <exception>

namespace vurmon {

std::string CaughtErrorMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return texts::kUnknownError;
    }
}

} // namespace vurmon
