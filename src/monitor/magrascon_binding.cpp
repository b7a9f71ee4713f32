// LoadRasApi: RASAPI32.DLL from the system folder; the phonebook call from it or, on Windows 95, RNAPH.DLL.
#include "monitor/magrascon_binding.h"

namespace vur::monitor {

template <typename F> F TRasBinding::Resolve(TModuleHandle module, const char* name) {
    return reinterpret_cast<F>(system_.GetProcAddress(module, name));
}

bool TRasBinding::Load() {
    if (tried_) return haveDial_;
    tried_ = true;
    hasPhonebook_ = false;
    rasapi_ = system_.LoadSystemLibrary("RASAPI32.DLL");
    if (!rasapi_) return false;
    haveDial_ = system_.GetProcAddress(rasapi_, "RasDialA") != nullptr;
    enumConnections = Resolve<TRasEnumConnectionsA>(rasapi_, "RasEnumConnectionsA");
    getConnectStatus = Resolve<TRasGetConnectStatusA>(rasapi_, "RasGetConnectStatusA");
    getErrorString = Resolve<TRasGetErrorStringA>(rasapi_, "RasGetErrorStringA");
    hangUp = Resolve<TRasHangUpA>(rasapi_, "RasHangUpA");
    // Windows 95 keeps the phonebook functions in RNAPH.DLL; its RASAPI32.DLL lacks RasGetCountryInfoA.
    if (system_.GetProcAddress(rasapi_, "RasGetCountryInfoA"))
        phonebook_ = rasapi_;
    else
        phonebook_ = system_.LoadSystemLibrary("RNAPH.DLL");
    if (phonebook_) {
        getEntryProperties = Resolve<TRasGetEntryPropertiesA>(phonebook_, "RasGetEntryPropertiesA");
        hasPhonebook_ = getEntryProperties != nullptr;
    }
    return haveDial_;
}

void TRasBinding::Release() {
    if (phonebook_ && phonebook_ != rasapi_) system_.FreeLibrary(phonebook_);
    if (rasapi_) system_.FreeLibrary(rasapi_);
    phonebook_ = rasapi_ = nullptr;
    enumConnections = nullptr;
    getConnectStatus = nullptr;
    getErrorString = nullptr;
    hangUp = nullptr;
    getEntryProperties = nullptr;
    tried_ = haveDial_ = hasPhonebook_ = false;
}

TSystemClass TRasBinding::SystemClass() {
    if (!classKnown_) {
        uint32_t platformId = 0, major = 0, minor = 0;
        system_.GetVersion(platformId, major, minor);
        class_ = ClassifySystem(platformId, major, minor);
        classKnown_ = true;
    }
    return class_;
}

} // namespace vur::monitor
