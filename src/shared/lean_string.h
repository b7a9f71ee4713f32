// Given to the compiler before every source of the Windows builds (-include). The C++ runtime carries
// every member of std::string precompiled in one object, and a static link on Windows takes that object
// whole: the linker keeps the unwind data of each function in it, and with it the function. Letting each
// program compile the members it uses keeps only those.
#pragma once

#include <bits/c++config.h>

#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1 // the runtime's own value for "every explicit instantiation but string's"
