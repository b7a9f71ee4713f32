// SealString and UnsealString over the program's shared cipher instance.
#include "sealing.h"

#include "base64.h"

namespace vur {

TDCP_rijndael& ProgramCipher() {
    static TDCP_rijndael cipher;
    return cipher;
}

std::string SealString(const std::string& passPhrase, const std::string& text) {
    TDCP_rijndael& cipher = ProgramCipher();
    cipher.SetKeyFromPhrase(passPhrase);
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
    cipher.SetKeyFromPhrase(passPhrase);
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
