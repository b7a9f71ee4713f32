// SealString and UnsealString over the program's shared cipher instance.
#include "shared/sealing.h"

#include "shared/base64.h"

namespace vur {

TDCP_rijndael& ProgramCipher() {
    static TDCP_rijndael cipher;
    return cipher;
}

namespace {

// Keying from a phrase (a hash and a key expansion) costs more than sealing a short name, and the settings
// use two phrases in turn: the schedules of the last two are kept and copied into the program's cipher,
// which ends up keyed exactly as SetKeyFromPhrase would key it.
void KeyFromPhrase(TDCP_rijndael& cipher, const std::string& phrase) {
    struct Schedule {
        std::string phrase;
        TDCP_rijndael keyed;
    };
    static Schedule recent[2];
    static int next = 0;
    for (const Schedule& schedule : recent) {
        if (schedule.keyed.Keyed() && schedule.phrase == phrase) {
            cipher = schedule.keyed;
            return;
        }
    }
    cipher.SetKeyFromPhrase(phrase);
    recent[next].phrase = phrase;
    recent[next].keyed = cipher;
    next ^= 1;
}

} // namespace

std::string SealString(const std::string& passPhrase, const std::string& text) {
    TDCP_rijndael& cipher = ProgramCipher();
    KeyFromPhrase(cipher, passPhrase);
    std::string bytes = text;
    cipher.EncryptFeedback8(bytes.data(), bytes.data(), bytes.size());
    std::string token = Base64Encode(bytes);
    for (char& c : token)
        if (c == '=') c = '!';
    cipher.RewindChain();
    cipher.Wipe();
    return token;
}

std::string UnsealString(const std::string& passPhrase, const std::string& token) {
    TDCP_rijndael& cipher = ProgramCipher();
    KeyFromPhrase(cipher, passPhrase);
    std::string padded = token;
    for (char& c : padded)
        if (c == '!') c = '=';
    std::string bytes = Base64Decode(padded); // a malformed token leaves the cipher keyed, as before
    cipher.DecryptFeedback8(bytes.data(), bytes.data(), bytes.size());
    cipher.RewindChain();
    cipher.Wipe();
    return bytes;
}

} // namespace vur
