// Parsing of vurdrive's "--name value" options.
#include "options.h"

#include <cstdlib>
#include <stdexcept>

namespace drive {

Options::Options(int argc, char** argv, int first) {
    for (int i = first; i < argc; i += 2) {
        std::string name = argv[i];
        if (name.size() < 3 || name.compare(0, 2, "--") != 0) throw std::invalid_argument("unexpected word: " + name);
        if (i + 1 >= argc) throw std::invalid_argument("option without a value: " + name);
        values_[name.substr(2)] = argv[i + 1];
    }
}

bool Options::Has(const std::string& name) const { return values_.count(name) != 0; }

std::string Options::Text(const std::string& name, const std::string& fallback) const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

static long ParseNumber(const std::string& text) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0') throw std::invalid_argument("not a number: " + text);
    return value;
}

long Options::Number(const std::string& name, long fallback) const {
    return Has(name) ? ParseNumber(Text(name)) : fallback;
}

bool Options::Point(const std::string& name, long& x, long& y) const {
    if (!Has(name)) return false;
    std::string text = Text(name);
    auto comma = text.find(',');
    if (comma == std::string::npos) throw std::invalid_argument("not a point x,y: " + text);
    x = ParseNumber(text.substr(0, comma));
    y = ParseNumber(text.substr(comma + 1));
    return true;
}

} // namespace drive
