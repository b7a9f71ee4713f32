// Weighing the traits and wording the result; see heuristic_verdict.h.
#include "engines/heuristic_verdict.h"

#include "engines/hidden_text.h"
#include "shared/engine_api.h"
#include "shared/file_reader.h"

#include <vector>

namespace vur::engines {

namespace {

bool Dials(const Traits& t) { return !t.dialImport.empty() || !t.dialLookup.empty() || !t.dialCommand.empty(); }

std::string Join(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) text += i + 1 == parts.size() ? " und " : ", ";
        text += parts[i];
    }
    return text;
}

} // namespace

int SuspicionScore(const Traits& t) {
    int score = 0;
    if (!t.dialImport.empty() || !t.dialLookup.empty()) score += kWeightDialFunction;
    if (!t.premiumNumber.empty()) score += kWeightPremiumNumber;
    if (!t.dialCommand.empty()) score += kWeightDialCommand;
    if (t.phonebook) score += kWeightPhonebook;
    if (t.runKey && Dials(t)) score += kWeightRunKey;
    return score;
}

std::string Verdict(const Traits& t) {
    if (t.testMarker) {
        static constexpr HiddenText kMarker("VUR-TESTHEURISTIK-0190");
        return "Verdächtiges Testmuster " + kMarker.Reveal() + " gefunden";
    }
    if (SuspicionScore(t) < kSuspicionThreshold) return kEngineClean;
    std::vector<std::string> parts;
    if (!t.dialImport.empty()) parts.push_back("Wählfunktion " + t.dialImport);
    else if (!t.dialLookup.empty()) parts.push_back("Wählfunktion " + t.dialLookup + " (zur Laufzeit gesucht)");
    if (!t.premiumNumber.empty())
        parts.push_back("Premium-Nummer " + t.premiumNumber + "…" + (t.premiumOnlyWide ? " (Unicode)" : ""));
    if (!t.dialCommand.empty()) parts.push_back("Modem-Wählbefehl " + t.dialCommand);
    if (t.phonebook) parts.push_back("Eintrag ins RAS-Telefonbuch");
    if (t.runKey && Dials(t)) parts.push_back("Autostart-Eintrag in der Registry");
    return Join(parts) + " gefunden";
}

std::string CheckFileHeuristically(const std::string& path) {
    SharedFileReader file;
    if (!file.Open(path)) return kEngineClean;
    std::string bytes(2, '\0');
    if (file.Read(&bytes[0], 2) != 2 || bytes != "MZ") return kEngineClean;
    const std::int64_t size = file.Size();
    std::size_t want = size > 0 && static_cast<std::uint64_t>(size) < kMaxAnalysedBytes ? static_cast<std::size_t>(size)
                                                                                         : kMaxAnalysedBytes;
    if (want < 2) want = 2;
    bytes.resize(want);
    std::size_t have = 2;
    while (have < want) {
        const long got = file.Read(&bytes[have], want - have);
        if (got <= 0) break;
        have += static_cast<std::size_t>(got);
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    PeImage image;
    const bool pe = ParsePeImage(data, have, image);
    return Verdict(FindTraits(data, have, pe ? &image : nullptr));
}

} // namespace vur::engines
