// The admin tool's commands, callable without a process so that tests can run them directly.
#pragma once

#include <string>
#include <vector>

#include "text_out.h"

namespace vurconf {

// args excludes the program name. Returns the exit code: 0 done, 1 the operation failed, 2 usage error.
int RunVurconf(const std::vector<std::string>& args, TextOut& out, TextOut& err);

} // namespace vurconf
