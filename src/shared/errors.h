// Exception classes of the shared code; their messages are fixed English texts that callers may show as they are.
#pragma once

#include <stdexcept>
#include <string>

namespace vur {

// Base of every exception the suite raises on purpose; the general error box shows what() as it is.
class EVurError : public std::runtime_error {
public:
    explicit EVurError(const std::string& message) : std::runtime_error(message) {}
};

class EHashError : public EVurError {
public:
    using EVurError::EVurError;
};

class ECipherError : public EVurError {
public:
    using EVurError::EVurError;
};

class EBase64Error : public EVurError {
public:
    using EVurError::EVurError;
};

// The settings file could not be locked, or not written in full.
class EIniFileError : public EVurError {
public:
    using EVurError::EVurError;
};

} // namespace vur
