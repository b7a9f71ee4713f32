// Messages with a timeout, for controls of other processes.
#include "remote_memory.h"

#include <stdexcept>

namespace drive {

LRESULT Send(HWND window, UINT msg, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, msg, w, l, SMTO_ABORTIFHUNG, kAnswerMs, &result))
        throw std::runtime_error("the control does not answer");
    return static_cast<LRESULT>(result);
}

LRESULT SendWide(HWND window, UINT msg, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, msg, w, l, SMTO_ABORTIFHUNG, kAnswerMs, &result))
        throw std::runtime_error("the control does not answer");
    return static_cast<LRESULT>(result);
}

} // namespace drive
