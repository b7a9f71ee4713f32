// Replaces the C++ runtime's verbose terminate handler in the shipped programs. That handler names the
// escaped exception on standard error, which a Windows program does not have, and drags the runtime's
// whole symbol demangler (about a third of a small program) into every file a modem user downloads. The
// programs catch everything at their message loops; should anything still end one, it ends at once.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

} // namespace __gnu_cxx
