// Inside the regular-expression engine: the program's node layout and the compiler that emits it.
// Only the engine and its tests include this.
#pragma once

#include "foundation/Regex.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// A node is an opcode byte, a 2-byte offset to the next node (high byte first; 0 = none; counted backwards
// for REGEX_BACK) and an operand: a terminated text for EXACTLY, ANYOF and ANYBUT, the repeated node for
// STAR and PLUS, the first node of the branch for BRANCH, nothing for the others.
inline constexpr uint8_t REGEX_END = 0;    // the match succeeds
inline constexpr uint8_t REGEX_BOL = 1;    // start of the text
inline constexpr uint8_t REGEX_EOL = 2;    // end of the text
inline constexpr uint8_t REGEX_ANY = 3;    // any one character
inline constexpr uint8_t REGEX_ANYOF = 4;  // one character of the operand
inline constexpr uint8_t REGEX_ANYBUT = 5; // one character not in the operand
inline constexpr uint8_t REGEX_BRANCH =
    6; // try the operand, else the next node (when that is a BRANCH as well)
inline constexpr uint8_t REGEX_BACK = 7;    // link back to the start of a loop
inline constexpr uint8_t REGEX_EXACTLY = 8; // the operand's text
inline constexpr uint8_t REGEX_NOTHING = 9; // the empty text
inline constexpr uint8_t REGEX_STAR = 10;   // the operand node, zero or more times
inline constexpr uint8_t REGEX_PLUS = 11;   // the operand node, one or more times
inline constexpr uint8_t REGEX_OPEN = 20;   // 20 + n: start of group n
inline constexpr uint8_t REGEX_CLOSE = 30;  // 30 + n: end of group n

inline constexpr uint8_t REGEX_MAGIC = 0x9C;
inline constexpr int32_t REGEX_NODE_SIZE = 3;
inline constexpr int32_t REGEX_MAX_PROGRAM = 32767; // a program must stay below this many bytes

// The node after Node, or -1 when it has none.
inline int32_t RegexNextNode(const uint8_t* Program, int32_t Node) {
    int32_t Offset = (Program[Node + 1] << 8) | Program[Node + 2];
    if (Offset == 0) return -1;
    return Program[Node] == REGEX_BACK ? Node - Offset : Node + Offset;
}

// An error of compiling or matching; carries one of the engine's fixed messages. Never leaves the engine.
struct TRegexFailure {
    const char* Message;
};

[[noreturn]] void RegexFail(const char* Message);

// Flags that the parse functions return about what they parsed.
enum : int {
    REGEX_WORST = 0,    // may match the empty text
    REGEX_HASWIDTH = 1, // never matches the empty text
    REGEX_SIMPLE = 2,   // one character wide: may be the operand of STAR and PLUS
    REGEX_SPSTART = 4,  // starts with '*' or '?', so a match may begin anywhere
};

// One pass over a pattern: with Program == NULL it only measures the program, otherwise it emits into
// Program, which must hold the measured size. Offsets are byte positions in Program; the measuring pass
// returns 0 for them. Errors throw TRegexFailure.
class TRegexCompiler {
public:
    TRegexCompiler(const char* Pattern, uint8_t* Program, int32_t Capacity);

    // The magic byte and the whole pattern; returns the top-level flags.
    int compile();
    int64_t size() const { return Size; }

    // The grammar, one level each: expression = branch ('|' branch)*, branch = piece*, piece = atom
    // [*+?]. Each returns the offset of its first node and sets Flags.
    int32_t parseExpression(bool Paren, int& Flags);
    int32_t parseBranch(int& Flags);
    int32_t parsePiece(int& Flags);
    int32_t parseAtom(int& Flags);
    // After the top-level expression: only the terminator may remain.
    void expectEnd() const;

private:
    int32_t parseSet();
    int32_t parseRun(int& Flags);
    void repeatByBranches(char Operator, int32_t Operand);

    int32_t emitNode(uint8_t Op);
    void emitByte(uint8_t Byte);
    void insertNode(uint8_t Op, int32_t Operand);
    void linkTail(int32_t Chain, int32_t Target);
    void linkBranchTail(int32_t Branch, int32_t Target);

    const char* Parse; // the next pattern character
    uint8_t* Program;
    int32_t Capacity;
    int64_t Size = 0; // bytes emitted or measured
    int Groups = 1;   // number of the next group
};

// What the matcher keeps beside a program, built from the fresh program; matching works without it.
struct TRegexAids {
    // A node tried at a text position fails there every time, so one MatchRegex remembers each failure: a
    // bit per (node, position) for the first REGEX_MEMO_POSITIONS positions keeps the work linear in the
    // text.
    std::vector<int16_t> MemoSlot; // per program byte: the slot of the node that starts there, or -1
    int32_t MemoRowBytes = 0;      // bytes of one position's row of slot bits
    std::vector<uint8_t> Memo;     // REGEX_MEMO_POSITIONS rows

    // An alternation of many branches tries, before a character c, only Branches[Start[c]] up to
    // Branches[Start[c + 1] - 1]: the first nodes of the branches that may match there, in their order.
    struct TBranchIndex {
        std::array<int32_t, 257> Start;
    };
    std::vector<int32_t>
        BranchIndexOf; // per program byte: the index of the alternation that starts there, or -1
    std::vector<TBranchIndex> BranchIndexes;
    std::vector<int32_t> Branches;
};

// NULL when the memory cannot be had.
std::unique_ptr<TRegexAids> MakeRegexAids(const uint8_t* Program, int32_t Size);
