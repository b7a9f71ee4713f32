// Sealing of settings names and values: AES-192 keyed by SHA-1 of a pass phrase, CFB-8, Base64 with '!' for '='.
#pragma once

#include "shared/dcp_cipher.h"

#include <string>

namespace vur {

// The program's one cipher instance, created unkeyed on first use and left unkeyed between calls.
TDCP_rijndael& ProgramCipher();

// Deterministic: the same phrase and text always give the same token, whatever was sealed before.
std::string SealString(const std::string& passPhrase, const std::string& text);

// Raises EBase64Error for a token whose length is not a multiple of 4; a wrong phrase is not detected.
std::string UnsealString(const std::string& passPhrase, const std::string& token);

} // namespace vur
