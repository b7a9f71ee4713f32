// One pass over a file's bytes for every textual trait; see heuristic_traits.h.
#include "engines/heuristic_traits.h"

#include "engines/hidden_text.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vur::engines {

namespace {

// The dialing functions, without the A or W of their ANSI and wide forms.
const std::vector<std::string>& DialFunctions() {
    static constexpr HiddenText k0("RasDial");
    static constexpr HiddenText k1("RasSetEntryProperties");
    static constexpr HiddenText k2("RasCreatePhonebookEntry");
    static constexpr HiddenText k3("InternetDial");
    static constexpr HiddenText k4("InternetAutodial");
    static constexpr HiddenText k5("lineMakeCall");
    static constexpr HiddenText k6("CAPI_REGISTER");
    static const std::vector<std::string> names = {k0.Reveal(), k1.Reveal(), k2.Reveal(), k3.Reveal(),
                                                   k4.Reveal(), k5.Reveal(), k6.Reveal()};
    return names;
}

struct Words {
    std::string phonebook, runKey, marker;
};

const Words& SearchWords() {
    static constexpr HiddenText kPhonebook("rasphone.pbk");
    static constexpr HiddenText kRun("currentversion\\run");
    static constexpr HiddenText kMarker("VUR-TESTHEURISTIK-0190");
    static const Words words{kPhonebook.Reveal(), kRun.Reveal(), kMarker.Reveal()};
    return words;
}

// Characters of ASCII text (stride 1) or UTF-16LE text (stride 2); -1 past the end or for a wide character
// outside ASCII.
struct Text {
    const unsigned char* data;
    std::size_t size;
    std::size_t stride;

    int At(std::size_t at, std::size_t index) const {
        const std::size_t i = at + index * stride;
        if (i >= size || size - i < stride) return -1;
        if (stride == 2 && data[i + 1] != 0) return -1;
        return data[i];
    }
    int Before(std::size_t at) const { return at >= stride ? At(at - stride, 0) : -1; }
};

bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
int Lower(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool EqualsAt(const Text& t, std::size_t at, const std::string& word, bool ignoreCase) {
    for (std::size_t k = 0; k < word.size(); ++k) {
        const int c = t.At(at, k);
        if (ignoreCase ? Lower(c) != word[k] : c != static_cast<unsigned char>(word[k])) return false;
    }
    return true;
}

// A dialing function's name as a C string: the base name, A or W or nothing, then the terminating zero.
std::string DialNameAt(const Text& t, std::size_t at) {
    for (const std::string& base : DialFunctions()) {
        if (t.At(at, 0) != static_cast<unsigned char>(base[0]) || !EqualsAt(t, at, base, false)) continue;
        std::size_t n = base.size();
        std::string name = base;
        const int next = t.At(at, n);
        if (next == 'A' || next == 'W') {
            name += static_cast<char>(next);
            ++n;
        }
        if (t.At(at, n) == 0) return name;
    }
    return "";
}

// A phone number starting at `at`: an optional '+', then digits with single blanks, dashes or slashes between
// them. Gives the premium range it belongs to, or "".
std::string PremiumNumberAt(const Text& t, std::size_t at) {
    const int before = t.Before(at);
    // Not the middle of a longer number or word; a dial command's letters may stand right before the number.
    if (IsDigit(before) || before == '+') return "";
    if (IsLetter(before) && !std::strchr("TtPpDd", before)) return "";
    std::string digits;
    std::size_t k = 0;
    const bool plus = t.At(at, 0) == '+';
    if (plus) ++k;
    for (;;) {
        const int c = t.At(at, k);
        if (IsDigit(c)) {
            digits += static_cast<char>(c);
            ++k;
            if (digits.size() > 15) return ""; // longer than any phone number
        } else if ((c == ' ' || c == '-' || c == '/') && !digits.empty() && IsDigit(t.At(at, k + 1))) {
            ++k;
        } else {
            if (IsLetter(c)) return "";
            break;
        }
    }
    auto starts = [&](const char* prefix) { return digits.compare(0, std::strlen(prefix), prefix) == 0; };
    bool international = plus;
    if (!plus && starts("00")) {
        digits.erase(0, 2);
        international = true;
    }
    if (international) {
        for (const char* range : {"881", "882", "883"})
            if (starts(range) && digits.size() >= 8) return std::string("+") + range;
        // German premium ranges dialled with the country code: +49 190, +49 900, +49 193.
        for (const char* range : {"49190", "49900"})
            if (starts(range) && digits.size() >= 9) return std::string("0") + (range + 2);
        if (starts("49193") && digits.size() >= 7) return "0193";
        return "";
    }
    for (const char* range : {"0190", "0900"})
        if (starts(range) && digits.size() >= 8) return range;
    if (starts("0193") && digits.size() >= 6) return "0193";
    if (starts("118") && (digits.size() == 5 || digits.size() == 6)) return "118";
    return "";
}

// A modem command that dials ("ATD", "ATDT", "ATDP" before a number) or sets the dialing mode ("ATX0".."ATX4").
std::string DialCommandAt(const Text& t, std::size_t at) {
    if (IsLetter(t.Before(at)) || Lower(t.At(at, 1)) != 't') return "";
    const int third = Lower(t.At(at, 2));
    if (third == 'x') {
        const int mode = t.At(at, 3);
        return mode >= '0' && mode <= '4' && !IsDigit(t.At(at, 4)) && !IsLetter(t.At(at, 4)) ? "ATX" : "";
    }
    if (third != 'd') return "";
    std::string command = "ATD";
    std::size_t k = 3;
    const int tone = Lower(t.At(at, k));
    if (tone == 't' || tone == 'p') {
        command += static_cast<char>(tone - 32);
        ++k;
    }
    while (t.At(at, k) == ' ' || t.At(at, k) == ',') ++k;
    const int first = t.At(at, k);
    return IsDigit(first) || first == '+' ? command : "";
}

bool InExports(const PeImage* image, std::size_t at) {
    return image && image->exportSize && at >= image->exportOffset && at - image->exportOffset < image->exportSize;
}

// The first characters of everything Scan looks for; every other byte is passed over in a tight loop.
struct StartTable {
    bool starts[256] = {};
    StartTable() {
        for (unsigned char c : std::string("RIlC+01AaVrc")) starts[c] = true;
    }
};

void Scan(const Text& t, const PeImage* image, Traits& traits, bool& premiumAscii) {
    static const StartTable table;
    const Words& words = SearchWords();
    const std::size_t last = t.size >= t.stride ? t.size - t.stride + 1 : 0;
    for (std::size_t at = 0; at < last; ++at) {
        while (at < last && !table.starts[t.data[at]]) ++at;
        if (at >= last) break;
        const int c = t.At(at, 0);
        if (c < 0) continue;
        switch (c) {
        case 'R': case 'I': case 'l': case 'C':
            if (t.stride == 1 && traits.dialImport.empty() && !InExports(image, at)) {
                const std::string name = DialNameAt(t, at);
                if (!name.empty()) {
                    const bool imported = image && std::any_of(image->imports.begin(), image->imports.end(),
                                                               [&](const PeImport& i) { return i.function == name; });
                    if (imported) traits.dialImport = name;
                    else if (traits.dialLookup.empty()) traits.dialLookup = name;
                }
            }
            break;
        case '+': case '0': case '1':
            if (traits.premiumNumber.empty() || !premiumAscii) {
                const std::string range = PremiumNumberAt(t, at);
                if (!range.empty()) {
                    if (traits.premiumNumber.empty()) traits.premiumNumber = range;
                    if (t.stride == 1) premiumAscii = true;
                }
            }
            break;
        case 'A': case 'a':
            if (traits.dialCommand.empty()) traits.dialCommand = DialCommandAt(t, at);
            break;
        case 'V':
            if (t.stride == 1 && EqualsAt(t, at, words.marker, false)) traits.testMarker = true;
            break;
        default:
            break;
        }
        if (Lower(c) == 'r' && !traits.phonebook && EqualsAt(t, at, words.phonebook, true)) traits.phonebook = true;
        if (Lower(c) == 'c' && !traits.runKey && EqualsAt(t, at, words.runKey, true)) traits.runKey = true;
    }
}

} // namespace

Traits FindTraits(const unsigned char* data, std::size_t size, const PeImage* image) {
    Traits traits;
    bool premiumAscii = false;
    Scan(Text{data, size, 1}, image, traits, premiumAscii);
    // Every offset is tried, so UTF-16 text is found at odd offsets as well as at even ones.
    Scan(Text{data, size, 2}, image, traits, premiumAscii);
    traits.premiumOnlyWide = !traits.premiumNumber.empty() && !premiumAscii;
    return traits;
}

} // namespace vur::engines
