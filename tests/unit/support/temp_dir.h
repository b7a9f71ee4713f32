// A scratch folder per test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace vurtest {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::string path_;
};

std::string FromHex(const std::string& hex);
std::string ToHex(const std::string& bytes);

} // namespace vurtest
