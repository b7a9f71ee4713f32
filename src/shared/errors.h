// Exception classes of the shared code; their messages are fixed English texts that callers may show as they are.
#pragma once

#include <exception>
#include <string>

namespace vur {

// Base of every exception the suite raises on purpose; the general error box shows what() as it is.
// It keeps its text in a std::string of its own rather than deriving from std::runtime_error, whose
// reference-counted string type would link a second string implementation into every program.
class EVurError : public std::exception {
public:
    explicit EVurError(const std::string& message) : message_(message) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
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
