// One walk over each form of a file's text for every textual trait; see heuristic_traits.h.
//
// The search is linear in the file's size, whatever the file holds, because the monitor checks files on
// its only thread: every check reads a bounded way ahead of where it starts, except the two that read
// something of any length, a number and a dial string, and each of those is read once. A number's run is
// consumed whole (the walk goes on after it), and a dial string holds no 'A', so no other command starts
// inside it. Dialing names are only recorded while walking; the import table is looked at once, after.
#include "engines/heuristic_traits.h"

#include "engines/hidden_text.h"

#include <array>
#include <cstring>
#include <limits>

namespace vur::engines {

namespace {

constexpr int kDialBaseCount = 7;
constexpr int kDialNameCount = 3 * kDialBaseCount; // each base alone, with A and with W
constexpr std::size_t kNowhere = std::numeric_limits<std::size_t>::max();

// The dialing functions, without the A or W of their ANSI and wide forms.
const std::array<std::string, kDialBaseCount>& DialFunctions() {
    static constexpr HiddenText k0("RasDial");
    static constexpr HiddenText k1("RasSetEntryProperties");
    static constexpr HiddenText k2("RasCreatePhonebookEntry");
    static constexpr HiddenText k3("InternetDial");
    static constexpr HiddenText k4("InternetAutodial");
    static constexpr HiddenText k5("lineMakeCall");
    static constexpr HiddenText k6("CAPI_REGISTER");
    static const std::array<std::string, kDialBaseCount> names = {k0.Reveal(), k1.Reveal(), k2.Reveal(), k3.Reveal(),
                                                                  k4.Reveal(), k5.Reveal(), k6.Reveal()};
    return names;
}

// Dialing names are numbered base * 3 + form: 0 the base alone, 1 with A, 2 with W.
std::string DialName(int index) {
    static const char* const kForms[] = {"", "A", "W"};
    return DialFunctions()[index / 3] + kForms[index % 3];
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

// The characters of one form of a file's text: ASCII (stride 1), or UTF-16LE from byte `first` (stride 2),
// where a character outside ASCII reads as -1. Indexes count characters; -1 also past either end.
struct Text {
    const unsigned char* data;
    std::size_t count;
    std::size_t stride;
    std::size_t first;

    int At(std::size_t i) const {
        if (i >= count) return -1;
        const unsigned char* c = data + first + i * stride;
        return stride == 2 && c[1] != 0 ? -1 : c[0];
    }
    int Before(std::size_t i) const { return i ? At(i - 1) : -1; }
    std::size_t Offset(std::size_t i) const { return first + i * stride; }
};

Text Ascii(const unsigned char* data, std::size_t size) { return Text{data, size, 1, 0}; }
Text Utf16(const unsigned char* data, std::size_t size, std::size_t first) {
    return Text{data, size > first ? (size - first) / 2 : 0, 2, first};
}

bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsLineEnd(int c) { return c == 0 || c == '\r' || c == '\n'; }
int Lower(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool EqualsAt(const Text& t, std::size_t at, const std::string& word, bool ignoreCase) {
    for (std::size_t k = 0; k < word.size(); ++k) {
        const int c = t.At(at + k);
        if (ignoreCase ? Lower(c) != word[k] : c != static_cast<unsigned char>(word[k])) return false;
    }
    return true;
}

// The dialing function whose name, as a C string, starts at `at` (the base name, A or W or nothing, then
// the terminating zero): its number, or -1.
int DialNameAt(const Text& t, std::size_t at) {
    const auto& bases = DialFunctions();
    for (int b = 0; b < kDialBaseCount; ++b) {
        const std::string& base = bases[b];
        if (t.At(at) != static_cast<unsigned char>(base[0]) || !EqualsAt(t, at, base, false)) continue;
        std::size_t n = base.size();
        int form = 0;
        const int next = t.At(at + n);
        if (next == 'A' || next == 'W') {
            form = next == 'A' ? 1 : 2;
            ++n;
        }
        if (t.At(at + n) == 0) return 3 * b + form;
    }
    return -1;
}

// The premium range of a phone number's digits (at most 15 of them), or "". `plus`: written after a '+'.
std::string PremiumRange(std::string digits, bool plus) {
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

bool IsNumberSeparator(int c) { return c == ' ' || c == '-' || c == '/'; }

// Reads the run of a phone number that starts at `at` ('+' before a digit, or a digit): digits with single
// blanks, dashes or slashes between them. A number starts at the run's beginning, unless that continues a
// longer number or word, and after each separator; it takes the rest of the run, which must not run into a
// letter and may hold at most 15 digits. Sets `range` to the premium range of the leftmost number that is
// one, or "", and gives the index after the run.
std::size_t NumberRunAt(const Text& t, std::size_t at, std::string& range) {
    constexpr std::size_t kMaxDigits = 15, kMinDigits = 5; // no premium number is shorter than an 118 number
    // Only the last kMaxDigits digits can belong to a number, so no more of them are kept, and no more of
    // the groups' starts (as counts of the digits before them): both in rings of kKept.
    constexpr std::size_t kKept = kMaxDigits + 1;
    const int before = t.Before(at);
    // A dial command's letters may stand right before the number.
    const bool runStarts =
        !IsDigit(before) && before != '+' && (!IsLetter(before) || std::strchr("TtPpDd", before));
    const bool plus = t.At(at) == '+';
    char last[kKept];
    std::size_t groupStarts[kKept];
    std::size_t digits = 0, groups = 0;
    bool newGroup = true;
    std::size_t k = plus ? at + 1 : at;
    for (;; ++k) {
        const int c = t.At(k);
        if (IsDigit(c)) {
            if (newGroup) groupStarts[groups++ % kKept] = digits;
            newGroup = false;
            last[digits++ % kKept] = static_cast<char>(c);
        } else if (IsNumberSeparator(c) && IsDigit(t.At(k + 1))) {
            newGroup = true;
        } else {
            break;
        }
    }
    range.clear();
    if (IsLetter(t.At(k))) return k;
    for (std::size_t g = groups < kKept ? 0 : groups - kKept; g < groups && range.empty(); ++g) {
        const std::size_t from = groupStarts[g % kKept];
        const bool afterPlus = g == 0 && plus;
        // Written without '+', every premium number starts with 0 or 1.
        const char lead = last[from % kKept];
        if (digits - from > kMaxDigits || digits - from < kMinDigits || (g == 0 && !runStarts) ||
            (!afterPlus && lead != '0' && lead != '1'))
            continue;
        std::string number;
        for (std::size_t d = from; d < digits; ++d) number += last[d % kKept];
        range = PremiumRange(number, afterPlus);
    }
    return k;
}

// What a modem dials after ATD: digits, the tone keys * and #, + for an international number, the waits
// and flash , W @ ! / and the closing ; (stay in command mode), P and T to switch pulse and tone dialling,
// and blanks, dashes and parentheses, which the modem passes over in a written number.
bool IsDialCharacter(int c) { return IsDigit(c) || (c > 0 && std::strchr("*#+,W@!/;PTpwt -()", c)); }

// A modem command that dials ("ATD", "ATDT", "ATDP" before a number) or sets the dialing mode ("ATX0".."ATX4"),
// written as a modem string is: it starts a token (no letter or digit right before it), a dial string holds
// only dial characters and at least one digit, and the string ends with CR, LF or NUL.
std::string DialCommandAt(const Text& t, std::size_t at) {
    const int before = t.Before(at);
    if (IsLetter(before) || IsDigit(before) || Lower(t.At(at + 1)) != 't') return "";
    const int third = Lower(t.At(at + 2));
    if (third == 'x') {
        const int mode = t.At(at + 3);
        return mode >= '0' && mode <= '4' && IsLineEnd(t.At(at + 4)) ? "ATX" : "";
    }
    if (third != 'd') return "";
    std::string command = "ATD";
    std::size_t k = at + 3;
    const int tone = Lower(t.At(k));
    if (tone == 't' || tone == 'p') {
        command += static_cast<char>(tone - 32);
        ++k;
    }
    bool digit = false;
    for (; IsDialCharacter(t.At(k)); ++k) digit = digit || IsDigit(t.At(k));
    return digit && IsLineEnd(t.At(k)) ? command : "";
}

// "...\CurrentVersion\Run" itself, not a longer key name such as RunOnce or RunServices.
bool RunKeyAt(const Text& t, std::size_t at, const std::string& key) {
    if (!EqualsAt(t, at, key, true)) return false;
    const int next = t.At(at + key.size());
    return !IsLetter(next) && !IsDigit(next) && next != '_';
}

bool InExports(const PeImage* image, std::size_t at) {
    return image && image->exportSize && at >= image->exportOffset && at - image->exportOffset < image->exportSize;
}

// The first characters of everything Scan looks for; every other byte is passed over in a tight loop.
struct StartTable {
    bool starts[256] = {};
    StartTable() {
        for (unsigned char c : std::string("RIlC+0123456789AaVrc")) starts[c] = true;
    }
};

// Where each dialing name first stands as a C string, or kNowhere.
using DialNamePlaces = std::array<std::size_t, kDialNameCount>;

void Scan(const Text& t, const PeImage* image, Traits& traits, DialNamePlaces& dialNames) {
    static const StartTable table;
    const Words& words = SearchWords();
    const bool ascii = t.stride == 1;
    std::string range;
    for (std::size_t at = 0; at < t.count; ++at) {
        if (ascii) {
            while (at < t.count && !table.starts[t.data[at]]) ++at;
        } else {
            // A wide character outside ASCII starts nothing either.
            const unsigned char* units = t.data + t.first;
            while (at < t.count && (!table.starts[units[2 * at]] || units[2 * at + 1])) ++at;
        }
        const int c = t.At(at);
        if (c < 0) continue;
        if (IsDigit(c) || (c == '+' && IsDigit(t.At(at + 1)))) {
            // Nothing else starts inside a number's run, so the walk goes on after it.
            const std::size_t end = NumberRunAt(t, at, range);
            if (traits.premiumNumber.empty() && !range.empty()) {
                traits.premiumNumber = range;
                traits.premiumOnlyWide = !ascii;
            }
            at = end - 1;
            continue;
        }
        switch (c) {
        case 'R': case 'I': case 'l': case 'C':
            if (ascii && !InExports(image, at)) {
                const int name = DialNameAt(t, at);
                if (name >= 0 && dialNames[name] == kNowhere) dialNames[name] = at;
            }
            break;
        case 'A': case 'a':
            if (traits.dialCommand.empty()) traits.dialCommand = DialCommandAt(t, at);
            break;
        case 'V':
            if (ascii && EqualsAt(t, at, words.marker, false)) traits.testMarker = true;
            break;
        default:
            break;
        }
        if (Lower(c) == 'r' && !traits.phonebook && EqualsAt(t, at, words.phonebook, true)) traits.phonebook = true;
        if (Lower(c) == 'c' && !traits.runKey && RunKeyAt(t, at, words.runKey)) traits.runKey = true;
    }
}

// The dialing names found as C strings, each weighed once against the import table: the first one in the
// file that is imported, and the first one that is not (looked up at run time).
void WeighDialNames(const DialNamePlaces& dialNames, const PeImage* image, Traits& traits) {
    bool imported[kDialNameCount] = {};
    if (image) {
        for (const PeImport& i : image->imports) {
            const int name = DialNameAt(Ascii(reinterpret_cast<const unsigned char*>(i.function.c_str()),
                                              i.function.size() + 1), 0);
            if (name >= 0) imported[name] = true;
        }
    }
    std::size_t importAt = kNowhere, lookupAt = kNowhere;
    for (int name = 0; name < kDialNameCount; ++name) {
        const std::size_t at = dialNames[name];
        if (at == kNowhere) continue;
        std::size_t& first = imported[name] ? importAt : lookupAt;
        std::string& trait = imported[name] ? traits.dialImport : traits.dialLookup;
        if (at < first) {
            first = at;
            trait = DialName(name);
        }
    }
}

} // namespace

Traits FindTraits(const unsigned char* data, std::size_t size, const PeImage* image) {
    Traits traits;
    DialNamePlaces dialNames;
    dialNames.fill(kNowhere);
    // UTF-16 text may start at an odd offset as well as at an even one. The first form that holds a trait
    // names it: ASCII, then UTF-16 at even offsets, then at odd ones.
    for (const Text& text : {Ascii(data, size), Utf16(data, size, 0), Utf16(data, size, 1)})
        Scan(text, image, traits, dialNames);
    WeighDialNames(dialNames, image, traits);
    return traits;
}

} // namespace vur::engines
