// Linked into every shipped C++ program in place of two parts of the static C++ runtime that would
// otherwise make up a large share of each file a modem user downloads.
//
// The verbose terminate handler names the escaped exception on standard error, which a Windows program
// does not have, and drags in the runtime's whole symbol demangler. The programs catch everything at their
// message loops; should anything still end one, it ends at once.
//
// The runtime raises its own errors (a string grown past max_size, an index out of range, a failed
// allocation) through the helper functions below. Its versions build std::logic_error and friends, whose
// reference-counted string type brings a second string implementation and the printf machinery with it.
// Ours raise lean exceptions that still derive from std::exception, so the message-loop handlers report
// them as before; no code of ours catches the library's own exception types. Defining all of them here
// keeps the runtime's object with its versions out of the link: a forgotten one fails the link with a
// duplicate definition instead of passing unnoticed.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

namespace {

// A fault in the program's own use of the library; what() is the library's text, e.g. "basic_string::append".
class RuntimeFault : public std::exception {
public:
    explicit RuntimeFault(const char* text) : text_(text ? text : "C++ runtime error") {}
    const char* what() const noexcept override { return text_; }

private:
    const char* text_;
};

[[noreturn]] void Raise(const char* text) { throw RuntimeFault(text); }

} // namespace

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

} // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() { throw std::bad_exception(); }
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_bad_cast() { throw std::bad_cast(); }
void __throw_bad_typeid() { throw std::bad_typeid(); }
void __throw_logic_error(const char* text) { Raise(text); }
void __throw_domain_error(const char* text) { Raise(text); }
void __throw_invalid_argument(const char* text) { Raise(text); }
void __throw_length_error(const char* text) { Raise(text); }
void __throw_out_of_range(const char* text) { Raise(text); }
// The format's numbers are left out: the text alone names the check that failed.
void __throw_out_of_range_fmt(const char* format, ...) { Raise(format); }
void __throw_runtime_error(const char* text) { Raise(text); }
void __throw_range_error(const char* text) { Raise(text); }
void __throw_overflow_error(const char* text) { Raise(text); }
void __throw_underflow_error(const char* text) { Raise(text); }

} // namespace std
