// The process-wide binding of the RAS libraries: tried once, shared by every TMagRasCon, released at the end.
#pragma once

#include "monitor/magrascon_api.h"
#include "monitor/magrascon_records.h"

namespace vur::monitor {

class TRasBinding {
  public:
    // The architecture gives the record layout: the build's own on Windows, either one in native tests.
    explicit TRasBinding(const TRasSystem& system, TArchitecture architecture = kBuildArchitecture)
        : system_(system), architecture_(architecture) {}
    ~TRasBinding() { Release(); }
    TRasBinding(const TRasBinding&) = delete;
    TRasBinding& operator=(const TRasBinding&) = delete;

    // Binds on the first call only; later calls, also after a failure, return the first outcome:
    // whether RasDialA was found.
    bool Load();
    // Frees the phonebook library (when it is not RASAPI32.DLL), then RASAPI32.DLL; Load may bind anew.
    void Release();

    const TRasSystem& System() const { return system_; }
    // Determined from the version numbers on first use, then fixed for the process.
    TSystemClass SystemClass();
    TRecordSizes Sizes() { return RecordSizes(SystemClass(), architecture_); }
    const TConnLayout& Layout() const { return ConnLayout(architecture_); }

    // Set only when RasGetEntryPropertiesA itself was found, so it is never called as null.
    bool HasPhonebook() const { return hasPhonebook_; }

    TRasEnumConnectionsA enumConnections = nullptr;
    TRasGetConnectStatusA getConnectStatus = nullptr;
    TRasGetErrorStringA getErrorString = nullptr;
    TRasHangUpA hangUp = nullptr;
    TRasGetEntryPropertiesA getEntryProperties = nullptr;

  private:
    template <typename F> F Resolve(TModuleHandle module, const char* name);

    const TRasSystem& system_;
    TArchitecture architecture_;
    bool tried_ = false;
    bool haveDial_ = false;
    bool hasPhonebook_ = false;
    bool classKnown_ = false;
    TSystemClass class_ = TSystemClass::Win9x;
    TModuleHandle rasapi_ = nullptr;
    TModuleHandle phonebook_ = nullptr;
};

// The binding on the real system, released at process end (win32 builds only).
TRasBinding& ProcessRasBinding();

} // namespace vur::monitor
