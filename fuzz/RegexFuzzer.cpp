// libFuzzer harness of the regular-expression engine and its one use. An input is:
//   byte 0 zero: the rest is a text the link warning judges (the client's link pattern over it);
//   otherwise:   a pattern up to the first zero byte (at most 64 bytes), then the subject.
// Oracle: a match and every group lie inside the subject, start before they end, and the whole match holds
// its groups; a pattern of plain characters matches exactly where the subject first contains it; capitals
// do not hide a link from the warning.
#include "foundation/Regex.h"
#include "fuzz/FuzzSupport.h"
#include "state/Status.h"
#include "state/StatusClipboard.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr size_t MAX_PATTERN = 64;
constexpr const char* SPECIALS = "^$.[]()|*+?\\";

bool NoWarning() { return true; }

void ExpectInside(const TRegex& Regex, const char* Subject) {
    const char* End = Subject + std::strlen(Subject);
    const char* Start0 = Regex.MatchStart[0];
    const char* End0 = Regex.MatchEnd[0];
    Expect(Start0 != nullptr && End0 != nullptr, "a match without its place");
    Expect(Subject <= Start0 && Start0 <= End0 && End0 <= End, "match outside the subject");
    for (int Group = 1; Group < REGEX_SUBEXPRESSIONS; Group++) {
        const char* Start = Regex.MatchStart[Group];
        const char* Stop = Regex.MatchEnd[Group];
        if (Start == nullptr && Stop == nullptr) continue;
        Expect(Start != nullptr && Stop != nullptr, "a group with only one end");
        Expect(Start0 <= Start && Start <= Stop && Stop <= End0, "group outside the match");
    }
}

void MatchPattern(const std::string& Pattern, const std::string& Subject) {
    std::unique_ptr<TRegex> Regex = CompileRegex(Pattern.c_str());
    if (Regex == nullptr) return;
    const int Matched = MatchRegex(Regex.get(), Subject.c_str());
    if (Matched == 1) ExpectInside(*Regex, Subject.c_str());
    if (Pattern.empty() || Pattern.find_first_of(SPECIALS) != std::string::npos) return;
    const char* Found = std::strstr(Subject.c_str(), Pattern.c_str());
    Expect(Matched == (Found != nullptr), "plain pattern matched where the subject does not hold it");
    if (Found != nullptr)
        Expect(Regex->MatchStart[0] == Found && Regex->MatchEnd[0] == Found + Pattern.size(),
               "plain pattern matched elsewhere");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitStatus(0, NoWarning); // compiles the link pattern
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 1) return -1;
    const char* Text = reinterpret_cast<const char*>(Data);
    if (Data[0] == 0) {
        std::string Said(Text + 1, Size - 1), Shouted = Said;
        for (char& c : Shouted)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        Expect(ContainsLink(Said.c_str()) == ContainsLink(Shouted.c_str()),
               "capitals changed the link warning");
        return 0;
    }
    const size_t PatternEnd = std::find(Data, Data + Size, 0) - Data;
    if (PatternEnd > MAX_PATTERN) return -1;
    const std::string Pattern(Text, PatternEnd);
    const std::string Subject =
        PatternEnd < Size ? std::string(Text + PatternEnd + 1, Size - PatternEnd - 1) : "";
    MatchPattern(Pattern, Subject.c_str());
    return 0;
}
