// Status texts of the RAS component: the system's error texts and fixed English names of connection states.
#include "monitor/magrascon.h"

namespace vur::monitor {

std::string RasStateName(uint32_t state) {
    static const char* const kDialing[] = {
        "Opening Port",
        "Port Opened",
        "Connecting Device",
        "Device Connected",
        "All Devices Connected",
        "Authenticating",
        "Authentication Notify",
        "Authentication Retry",
        "Authentication Callback",
        "Changing Password",
        "Projecting",
        "Link Speed",
        "Authentication Acknowledged",
        "Re-authenticating",
        "Authenticated",
        "Preparing for Callback",
        "Waiting for Modem Reset",
        "Waiting for Callback",
        "Projected",
        "Starting Authentication",
        "Callback Complete",
        "Logging on to Network",
        "Sub-entry Connected",
        "Sub-entry Disconnected",
    };
    static const char* const kPaused[] = {"Interactive", "Retrying Authentication", "Callback Set by Caller",
                                          "Password Expired"};
    if (state < sizeof kDialing / sizeof kDialing[0]) return kDialing[state];
    if (state >= 4096 && state < 4096 + sizeof kPaused / sizeof kPaused[0]) return kPaused[state - 4096];
    if (state == TMagRasCon::kStateConnected) return "Connected/Online";
    if (state == TMagRasCon::kStateDisconnected) return "Disconnected/Offline";
    return "Unknown State (" + std::to_string(state) + ")";
}

std::string TMagRasCon::StateText() const {
    return RasStateName(static_cast<uint32_t>(current_.State));
}

std::string TMagRasCon::ErrorText(uint32_t code) {
    if (!Bind() || !binding_.getErrorString) return "RASAPI32.DLL Not Available";
    char text[256] = {};
    if (binding_.getErrorString(code, text, sizeof text) != 0) return "RAS Error " + std::to_string(code);
    text[sizeof text - 1] = '\0';
    return text;
}

} // namespace vur::monitor
