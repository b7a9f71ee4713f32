// A RAS system for native tests: the stand-in's world model behind a fake system table, with a virtual
// clock (Sleep advances it), a choice of which libraries and exports exist, and a record of posted messages.
#pragma once

#include "monitor/magrascon_api.h"
#include "ras_world.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vurtest {

struct PostedMessage {
    vur::monitor::TWindowHandle window;
    uint32_t message;
    uint32_t wParam;
};

class FakeRas {
  public:
    // Becomes the system behind Table() until destroyed; one at a time.
    explicit FakeRas(vur::monitor::TSystemClass systemClass = vur::monitor::TSystemClass::XP,
                     vur::monitor::TArchitecture architecture = vur::monitor::kBuildArchitecture);
    ~FakeRas();

    static const vur::monitor::TRasSystem& Table();

    vurras::TRasWorld world;
    uint32_t now = 1000;
    uint32_t platformId = 0, major = 0, minor = 0;
    // Library files present in the system folder, and exports missing from them.
    std::set<std::string> libraries{"RASAPI32.DLL"};
    std::set<std::string> missingExports;
    std::vector<std::string> loaded; // LoadSystemLibrary names, in call order
    std::vector<std::string> freed;
    std::vector<PostedMessage> posted;
    int sleeps = 0;
    int enumCalls = 0;
    // Called at each status query, before the world answers it.
    std::function<void()> onStatusQuery;

    void Connect(vur::monitor::TRasHandle handle, const std::string& entry, uint32_t subEntry = 0, int dropAfterMs = 0);
    void Entry(const std::string& name, uint32_t country, const std::string& area, const std::string& local,
               uint32_t extraBytes = 0);
    int HangUps(vur::monitor::TRasHandle handle) const;

    static FakeRas* current;
};

} // namespace vurtest
