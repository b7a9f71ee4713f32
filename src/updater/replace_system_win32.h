// The file operations of the replacement on the running Windows.
#pragma once

#include "updater/file_replace.h"

namespace vur::updater {

class WindowsReplaceSystem : public ReplaceSystem {
public:
    bool IsNT() override;
    bool Exists(const std::string& path) override;
    std::vector<std::string> FindFiles(const std::string& prefix, const std::string& suffix) override;
    void MakeArchiveOnly(const std::string& path) override;
    bool Delete(const std::string& path) override;
    bool Move(const std::string& from, const std::string& to) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool MoveAtRestart(const std::string& from, const std::string& to) override;
    std::string ShortUpperPath(const std::string& path) override;
    bool ReadWininit(std::string& bytes, bool& exists) override;
    bool WriteWininit(const std::string& bytes) override;
};

} // namespace vur::updater
