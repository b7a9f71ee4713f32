// The heuristic engine's judgement: each trait found adds its weight, and a file whose sum reaches the
// threshold is suspicious. The weights are chosen so that no single trait, and none of the combinations an
// honest dialing program shows (dialing functions with a phonebook, or with a modem command), reaches it.
#pragma once

#include "engines/heuristic_traits.h"

#include <string>

namespace vur::engines {

constexpr int kWeightDialFunction = 40; // imported or looked up by name
constexpr int kWeightPremiumNumber = 45;
constexpr int kWeightDialCommand = 30;
constexpr int kWeightPhonebook = 15;
constexpr int kWeightRunKey = 20; // counted only next to a dialing function or a modem command
constexpr int kSuspicionThreshold = 75;

// Files larger than this are judged by their first kMaxAnalysedBytes: dialers are small programs.
constexpr std::size_t kMaxAnalysedBytes = 32u << 20;

int SuspicionScore(const Traits& traits);

// "OK" below the threshold, else the German analysis text, e.g. "Wählfunktion RasDialA und Premium-Nummer
// 0190… gefunden".
std::string Verdict(const Traits& traits);

// The whole check of one file: "OK" at once for a file that does not start with "MZ" or cannot be read.
std::string CheckFileHeuristically(const std::string& path);

} // namespace vur::engines
