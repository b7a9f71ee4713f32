// Command-line options of vurdrive: "--name value" pairs after the command word.
#pragma once

#include <map>
#include <string>

namespace drive {

class Options {
public:
    // Parses argv[first..]; an option without a value or a stray word throws std::invalid_argument.
    Options(int argc, char** argv, int first);

    bool Has(const std::string& name) const;
    std::string Text(const std::string& name, const std::string& fallback = "") const;
    // Decimal or 0x-hexadecimal; a malformed number throws std::invalid_argument.
    long Number(const std::string& name, long fallback) const;
    // "x,y"; false when the option is absent.
    bool Point(const std::string& name, long& x, long& y) const;

private:
    std::map<std::string, std::string> values_;
};

} // namespace drive
