// Texts the engines search for, kept in their own library file only in coded form: the heuristic engine
// would otherwise find its own search words in vurheur.dll, and a scan of the program folder would report it.
#pragma once

#include <cstddef>
#include <string>

namespace vur::engines {

constexpr unsigned char kHiddenTextKey = 0x5A;

template <std::size_t N>
struct HiddenText {
    char coded[N];

    constexpr explicit HiddenText(const char (&text)[N]) : coded{} {
        for (std::size_t i = 0; i < N; ++i) coded[i] = static_cast<char>(text[i] ^ kHiddenTextKey);
    }

    std::string Reveal() const {
        // Read through a volatile, so that the compiler cannot fold the plain text back into the file.
        static volatile unsigned char key = kHiddenTextKey;
        std::string plain(N - 1, '\0');
        for (std::size_t i = 0; i + 1 < N; ++i) plain[i] = static_cast<char>(coded[i] ^ key);
        return plain;
    }
};

} // namespace vur::engines
