// The regular-expression engine's interface, its match shortcuts and the backtracking matcher.
#include "foundation/Regex.h"
#include "foundation/RegexProgram.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

namespace {

// Set by the caller at any time; never reset.
TRegexErrorHook ErrorHook = nullptr;

// The matcher recurses at every group edge, choice and repetition it passes, so a loop over a group goes
// one level deeper per pass and the depth grows with the text. Past this depth (about 1.1 MB of stack
// optimised, 2.4 MB with the sanitizers) the match ends with an error instead of overflowing the stack.
constexpr int32_t MAX_MATCH_DEPTH = 10000;

// Nodes that one MatchRegex may visit (about 80 ms optimised). Within the remembered positions no node is
// tried twice at one place, so the work grows with the text times the program; past them nested loops and
// long alternations backtrack in polynomial or exponential time, and this ends them.
constexpr int64_t MAX_MATCH_STEPS = 10'000'000;

void ReportError(const char* Message) {
    if (ErrorHook) ErrorHook(Message);
}

bool IsGroupEdge(uint8_t Op) {
    return (Op >= REGEX_OPEN && Op < REGEX_OPEN + REGEX_SUBEXPRESSIONS) ||
           (Op >= REGEX_CLOSE && Op < REGEX_CLOSE + REGEX_SUBEXPRESSIONS);
}

// Working state of one MatchRegex call.
class TRegexMatcher {
public:
    TRegexMatcher(TRegex& Regex, const char* Text)
        : Regex(Regex), Aids(Regex.Aids.get()), Program(Regex.Program.get()), Size(Regex.ProgramSize),
          Begin(Text) {
        forgetFailures();
    }

    // Tries a match that starts at Position; on success the match pointers are set.
    bool tryAt(const char* Position);

private:
    bool matchFrom(int32_t Node);
    bool matchChain(int32_t Node);
    bool matchCharacter(uint8_t Op, int32_t Node);
    bool matchGroupEdge(uint8_t Op, int32_t Next);
    bool matchBranches(int32_t Node);
    // Whether the branch whose first node is First cannot match here: it starts with other text.
    bool hopeless(int32_t First) const;
    bool matchRepeat(int32_t Node, int32_t Next);
    ptrdiff_t countRepeats(int32_t Node) const;
    int32_t nextNode(int32_t Node) const;
    void checkNode(int32_t Node) const;
    void forgetFailures();
    // The bit that remembers a failure of Node at the present input; NULL where nothing is remembered.
    uint8_t* failureBit(int32_t Node, uint8_t& Mask) const;
    const char* operand(int32_t Node) const {
        return reinterpret_cast<const char*>(Program + Node + REGEX_NODE_SIZE);
    }

    TRegex& Regex;
    TRegexAids* Aids;
    const uint8_t* Program;
    int32_t Size;
    const char* Begin;           // start of the text, for '^'
    const char* Input = nullptr; // the next character to match
    int32_t Depth = 0;
    int64_t Steps = 0;
};

bool TRegexMatcher::tryAt(const char* Position) {
    for (int i = 0; i < REGEX_SUBEXPRESSIONS; i++) {
        Regex.MatchStart[i] = nullptr;
        Regex.MatchEnd[i] = nullptr;
    }
    Input = Position;
    if (!matchFrom(1)) return false;
    Regex.MatchStart[0] = Position;
    Regex.MatchEnd[0] = Input;
    return true;
}

// A success runs straight back up to tryAt, so only failures can be met again.
bool TRegexMatcher::matchFrom(int32_t Node) {
    if (++Depth > MAX_MATCH_DEPTH) RegexFail("recursion too deep");
    uint8_t Mask = 0;
    uint8_t* Failed = failureBit(Node, Mask);
    bool Matched = false;
    if (Failed == nullptr || (*Failed & Mask) == 0) {
        Matched = matchChain(Node);
        if (!Matched && Failed != nullptr) *Failed |= Mask;
    }
    Depth--;
    return Matched;
}

void TRegexMatcher::forgetFailures() {
    if (!Aids) return;
    const size_t Rows = std::min(strlen(Begin) + 1, static_cast<size_t>(REGEX_MEMO_POSITIONS));
    memset(Aids->Memo.data(), 0, Rows * static_cast<size_t>(Aids->MemoRowBytes));
}

uint8_t* TRegexMatcher::failureBit(int32_t Node, uint8_t& Mask) const {
    const ptrdiff_t Position = Input - Begin;
    if (!Aids || Position >= REGEX_MEMO_POSITIONS || Node < 0 || Node >= Size) return nullptr;
    const int32_t Slot = Aids->MemoSlot[Node];
    if (Slot < 0) return nullptr;
    Mask = static_cast<uint8_t>(1u << (Slot % 8));
    return Aids->Memo.data() + Position * Aids->MemoRowBytes + Slot / 8;
}

// Follows the chain from Node; recursion only where the rest may have to be tried more than once.
bool TRegexMatcher::matchChain(int32_t Node) {
    while (Node >= 0) {
        if (++Steps > MAX_MATCH_STEPS) RegexFail("too much backtracking");
        checkNode(Node);
        uint8_t Op = Program[Node];
        int32_t Next = nextNode(Node);
        switch (Op) {
        case REGEX_END:
            return true;
        case REGEX_BOL:
        case REGEX_EOL:
        case REGEX_ANY:
        case REGEX_ANYOF:
        case REGEX_ANYBUT:
        case REGEX_EXACTLY:
            if (!matchCharacter(Op, Node)) return false;
            break;
        case REGEX_NOTHING:
        case REGEX_BACK:
            break;
        case REGEX_BRANCH:
            if (Next >= 0 && Program[Next] == REGEX_BRANCH) return matchBranches(Node);
            Next = Node + REGEX_NODE_SIZE; // the only choice
            break;
        case REGEX_STAR:
        case REGEX_PLUS:
            return matchRepeat(Node, Next);
        default:
            if (!IsGroupEdge(Op)) RegexFail("memory corruption");
            return matchGroupEdge(Op, Next);
        }
        Node = Next;
    }
    RegexFail("corrupted pointers");
}

bool TRegexMatcher::matchCharacter(uint8_t Op, int32_t Node) {
    const char* Text = operand(Node);
    switch (Op) {
    case REGEX_BOL:
        return Input == Begin;
    case REGEX_EOL:
        return *Input == '\0';
    case REGEX_EXACTLY: {
        size_t Length = strlen(Text);
        if (*Text != *Input || strncmp(Text, Input, Length) != 0) return false;
        Input += Length;
        return true;
    }
    default: // one character: ANY, ANYOF, ANYBUT
        if (*Input == '\0') return false;
        if (Op != REGEX_ANY && (strchr(Text, *Input) != nullptr) != (Op == REGEX_ANYOF)) return false;
        Input++;
        return true;
    }
}

// The group's pointer is set on the way back from a successful rest, unless a later pass over the same
// group, deeper in the recursion, has set it already: the last pass counts.
bool TRegexMatcher::matchGroupEdge(uint8_t Op, int32_t Next) {
    const char* Save = Input;
    if (!matchFrom(Next)) return false;
    const char*& Pointer =
        Op >= REGEX_CLOSE ? Regex.MatchEnd[Op - REGEX_CLOSE] : Regex.MatchStart[Op - REGEX_OPEN];
    if (!Pointer) Pointer = Save;
    return true;
}

// A long alternation tries only the branches its index gives for the next character; a branch that starts
// with text other than the next character is passed over without trying it.
bool TRegexMatcher::matchBranches(int32_t Node) {
    const char* Save = Input;
    const int32_t Indexed = Aids && Node < Size ? Aids->BranchIndexOf[Node] : -1;
    if (Indexed >= 0) {
        const TRegexAids::TBranchIndex& Index = Aids->BranchIndexes[Indexed];
        const uint8_t c = static_cast<uint8_t>(*Input);
        for (int32_t k = Index.Start[c]; k < Index.Start[c + 1]; k++) {
            if (!hopeless(Aids->Branches[k]) && matchFrom(Aids->Branches[k])) return true;
            Input = Save;
        }
        return false;
    }
    do {
        const int32_t First = Node + REGEX_NODE_SIZE;
        if (!hopeless(First) && matchFrom(First)) return true;
        Input = Save;
        Node = nextNode(Node);
    } while (Node >= 0 && Program[Node] == REGEX_BRANCH);
    return false;
}

bool TRegexMatcher::hopeless(int32_t First) const {
    if (First > Size - REGEX_NODE_SIZE || Program[First] != REGEX_EXACTLY) return false;
    const char* Text = operand(First);
    return *Text != *Input || strncmp(Text, Input, strlen(Text)) != 0;
}

// Greedy: takes every repetition, then gives them back one at a time. When the rest starts with text,
// only counts followed by its first character are tried.
bool TRegexMatcher::matchRepeat(int32_t Node, int32_t Next) {
    char NextChar = Next >= 0 && Program[Next] == REGEX_EXACTLY ? operand(Next)[0] : '\0';
    ptrdiff_t Minimum = Program[Node] == REGEX_STAR ? 0 : 1;
    const char* Save = Input;
    for (ptrdiff_t Count = countRepeats(Node + REGEX_NODE_SIZE); Count >= Minimum; Count--) {
        if (++Steps > MAX_MATCH_STEPS) RegexFail("too much backtracking");
        Input = Save + Count;
        if ((NextChar == '\0' || *Input == NextChar) && matchFrom(Next)) return true;
    }
    return false;
}

ptrdiff_t TRegexMatcher::countRepeats(int32_t Node) const {
    checkNode(Node);
    const char* Set = operand(Node);
    const char* Scan = Input;
    switch (Program[Node]) {
    case REGEX_ANY:
        return static_cast<ptrdiff_t>(strlen(Scan));
    case REGEX_EXACTLY:
        while (*Scan != '\0' && *Scan == *Set)
            Scan++;
        break;
    case REGEX_ANYOF:
        while (*Scan != '\0' && strchr(Set, *Scan) != nullptr)
            Scan++;
        break;
    case REGEX_ANYBUT:
        while (*Scan != '\0' && strchr(Set, *Scan) == nullptr)
            Scan++;
        break;
    default:
        RegexFail("internal foulup");
    }
    return Scan - Input;
}

int32_t TRegexMatcher::nextNode(int32_t Node) const {
    int32_t Next = RegexNextNode(Program, Node);
    if (Next >= 0) checkNode(Next);
    return Next;
}

// A node whose head lies outside the program ends the chain as a missing END would.
void TRegexMatcher::checkNode(int32_t Node) const {
    if (Node < 1 || Node > Size - REGEX_NODE_SIZE) RegexFail("corrupted pointers");
}

// Sets FirstChar, Anchored and MustText from a fresh program whose top-level flags are Flags.
void SetShortcuts(TRegex& Regex, int Flags) {
    const uint8_t* Program = Regex.Program.get();
    int32_t Branch = 1;
    if (Program[RegexNextNode(Program, Branch)] != REGEX_END) return; // more than one alternative
    int32_t Node = Branch + REGEX_NODE_SIZE;
    const char* Operand = reinterpret_cast<const char*>(Program + Node + REGEX_NODE_SIZE);
    if (Program[Node] == REGEX_EXACTLY)
        Regex.FirstChar = Operand[0];
    else if (Program[Node] == REGEX_BOL)
        Regex.Anchored = 1;
    if (!(Flags & REGEX_SPSTART)) return;
    // Every node on the branch's own chain is passed by every match; loops and options hang off it.
    for (; Node >= 0; Node = RegexNextNode(Program, Node)) {
        if (Program[Node] != REGEX_EXACTLY) continue;
        Operand = reinterpret_cast<const char*>(Program + Node + REGEX_NODE_SIZE);
        int32_t Length = static_cast<int32_t>(strlen(Operand));
        if (Length >= Regex.MustLength) {
            Regex.MustText = Operand;
            Regex.MustLength = Length;
        }
    }
}

} // namespace

TRegex::~TRegex() = default;

void SetRegexErrorHook(TRegexErrorHook Hook) { ErrorHook = Hook; }

std::unique_ptr<TRegex> CompileRegex(const char* Pattern) {
    try {
        if (!Pattern) RegexFail("NULL argument");
        TRegexCompiler Measure(Pattern, nullptr, 0);
        Measure.compile();
        if (Measure.size() >= REGEX_MAX_PROGRAM) RegexFail("regexp too big");
        int32_t Size = static_cast<int32_t>(Measure.size());

        std::unique_ptr<TRegex> Regex(new (std::nothrow) TRegex);
        if (Regex) Regex->Program.reset(new (std::nothrow) uint8_t[Size]);
        if (!Regex || !Regex->Program) RegexFail("out of space");
        Regex->ProgramSize = Size;

        TRegexCompiler Emit(Pattern, Regex->Program.get(), Size);
        SetShortcuts(*Regex, Emit.compile());
        Regex->Aids = MakeRegexAids(Regex->Program.get(), Size);
        return Regex;
    } catch (const TRegexFailure& Failure) {
        ReportError(Failure.Message);
        return nullptr;
    }
}

int MatchRegex(TRegex* Regex, const char* Text) {
    try {
        if (!Regex || !Text) RegexFail("NULL parameter");
        if (!Regex->Program || Regex->ProgramSize < 1 || Regex->Program[0] != REGEX_MAGIC)
            RegexFail("corrupted program");
        if (Regex->MustText && !strstr(Text, Regex->MustText)) return 0;

        TRegexMatcher Matcher(*Regex, Text);
        if (Regex->Anchored) return Matcher.tryAt(Text) ? 1 : 0;
        if (Regex->FirstChar != '\0') {
            for (const char* s = strchr(Text, Regex->FirstChar); s; s = strchr(s + 1, Regex->FirstChar))
                if (Matcher.tryAt(s)) return 1;
            return 0;
        }
        const char* s = Text;
        do {
            if (Matcher.tryAt(s)) return 1;
        } while (*s++ != '\0');
        return 0;
    } catch (const TRegexFailure& Failure) {
        ReportError(Failure.Message);
        return 0;
    }
}
