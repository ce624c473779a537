// The client's own regular-expression engine: patterns compile into a byte program matched by backtracking.
#pragma once

#include <cstdint>
#include <memory>

// Parenthesised groups 1..9 plus the whole match as entry 0.
inline constexpr int REGEX_SUBEXPRESSIONS = 10;
// Text positions for which the matcher remembers failed attempts; beyond them it only backtracks.
inline constexpr int32_t REGEX_MEMO_POSITIONS = 1024;

struct TRegexAids; // the matcher's memory of failed attempts and its index of long alternations

// A compiled expression. The match pointers point into the text of the last successful MatchRegex and are
// valid only as long as that text; a group that took no part in the match has NULL in both entries.
struct TRegex {
    const char* MatchStart[REGEX_SUBEXPRESSIONS] = {};
    const char* MatchEnd[REGEX_SUBEXPRESSIONS] = {}; // one past the last character
    char FirstChar = 0;                              // every match begins with it; 0 when not known
    char Anchored = 0;                               // non-zero: only the start of the text can match
    const char* MustText = nullptr;     // a terminated text inside Program that every match contains, or NULL
    int32_t MustLength = 0;             // its length
    std::unique_ptr<uint8_t[]> Program; // starts with the magic byte
    int32_t ProgramSize = 0;            // bytes in Program
    std::unique_ptr<TRegexAids> Aids;   // made with the program; NULL: the matcher only backtracks

    ~TRegex();
};

// Receives each error message of CompileRegex and MatchRegex; NULL (the default) keeps errors silent.
using TRegexErrorHook = void (*)(const char* Message);
void SetRegexErrorHook(TRegexErrorHook Hook);

// The compiled form of Pattern, or NULL after reporting an error. Syntax: alternatives split by '|'; atoms
// '^', '$', '.', [set], [^set], (group), '\' with any character, or the character itself; each atom may be
// followed by '*', '+' or '?' (greedy).
std::unique_ptr<TRegex> CompileRegex(const char* Pattern);

// 1 when some part of Text matches (the leftmost start; MatchStart and MatchEnd set), 0 when none does or
// after reporting an error. Case-sensitive; allocates nothing (what it remembers comes with the compiled
// form). Not reentrant for one TRegex.
int MatchRegex(TRegex* Regex, const char* Text);
