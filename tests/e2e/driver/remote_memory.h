// Talking to controls of another process: messages with a timeout, and memory in the control's process for
// the messages whose pointers the system does not carry across (EM_GETCHARFORMAT, TVM_GETITEM).
#pragma once

#include <windows.h>

#include <stdexcept>

namespace drive {

// How long another program's control may take to answer a message: the programs under test may run at idle
// priority on a busy machine (the harness tries a read again after such a miss).
constexpr UINT kAnswerMs = 2000;

// SendMessageTimeout, ANSI or wide; throws std::runtime_error when the control does not answer in time.
LRESULT Send(HWND window, UINT msg, WPARAM w, LPARAM l);
LRESULT SendWide(HWND window, UINT msg, WPARAM w, LPARAM l);

// A block of memory in the window's process. A 32-bit driver of a 64-bit program needs it below 4 GB, where
// Wine's allocations lie by default; one above would not fit the pointer and fail as a whole.
class RemoteMemory {
  public:
    RemoteMemory(HWND window, SIZE_T size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process_) throw std::runtime_error("cannot open the control's process");
        address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_) {
            CloseHandle(process_);
            throw std::runtime_error("cannot allocate memory in the control's process");
        }
    }
    ~RemoteMemory() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    LPARAM At(SIZE_T offset) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    void Write(SIZE_T offset, const void* data, SIZE_T size) const {
        SIZE_T done = 0;
        if (!WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) ||
            done != size)
            throw std::runtime_error("cannot write to the control's process");
    }
    void Read(SIZE_T offset, void* data, SIZE_T size) const {
        SIZE_T done = 0;
        if (!ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) ||
            done != size)
            throw std::runtime_error("cannot read from the control's process");
    }

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

} // namespace drive
