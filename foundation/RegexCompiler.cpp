// The regular-expression compiler: parses a pattern and measures or emits its byte program.
#include "foundation/Exception.h"
#include "foundation/RegexProgram.h"

#include <cstring>

namespace {

constexpr const char* META = "^$.[()|?+*\\";

bool IsRepeatOperator(char c) { return c == '*' || c == '+' || c == '?'; }

} // namespace

void RegexFail(const char* Message) { throw TRegexFailure{Message}; }

TRegexCompiler::TRegexCompiler(const char* Pattern, uint8_t* Program, int32_t Capacity)
    : Parse(Pattern), Program(Program), Capacity(Capacity) {}

int TRegexCompiler::compile() {
    emitByte(REGEX_MAGIC);
    int Flags;
    parseExpression(false, Flags);
    return Flags;
}

int32_t TRegexCompiler::parseExpression(bool Paren, int& Flags) {
    Flags = REGEX_HASWIDTH;
    int Group = 0;
    int32_t Start = -1;
    if (Paren) {
        if (Groups >= REGEX_SUBEXPRESSIONS) RegexFail("too many ()");
        Group = Groups++;
        Start = emitNode(static_cast<uint8_t>(REGEX_OPEN + Group));
    }
    bool First = true;
    do {
        if (!First) Parse++; // the '|'
        int BranchFlags;
        int32_t Branch = parseBranch(BranchFlags);
        if (Start < 0)
            Start = Branch;
        else
            linkTail(Start, Branch);
        if (!(BranchFlags & REGEX_HASWIDTH)) Flags &= ~REGEX_HASWIDTH;
        Flags |= BranchFlags & REGEX_SPSTART;
        First = false;
    } while (*Parse == '|');

    // Every branch and the chain of branches end at the closing node.
    int32_t Ender = emitNode(Paren ? static_cast<uint8_t>(REGEX_CLOSE + Group) : REGEX_END);
    linkTail(Start, Ender);
    for (int32_t Branch = Start; Branch >= 0; Branch = Program ? RegexNextNode(Program, Branch) : -1)
        linkBranchTail(Branch, Ender);

    if (!Paren) {
        expectEnd();
    } else {
        if (*Parse != ')') RegexFail("unmatched ()");
        Parse++;
    }
    return Start;
}

void TRegexCompiler::expectEnd() const {
    if (*Parse == ')') RegexFail("unmatched ()");
    if (*Parse != '\0') RegexFail("junk on end");
}

int32_t TRegexCompiler::parseBranch(int& Flags) {
    Flags = REGEX_WORST;
    int32_t Start = emitNode(REGEX_BRANCH);
    int32_t Chain = -1;
    while (*Parse != '\0' && *Parse != '|' && *Parse != ')') {
        int PieceFlags;
        int32_t Latest = parsePiece(PieceFlags);
        Flags |= PieceFlags & REGEX_HASWIDTH;
        if (Chain < 0)
            Flags |= PieceFlags & REGEX_SPSTART;
        else
            linkTail(Chain, Latest);
        Chain = Latest;
    }
    if (Chain < 0) emitNode(REGEX_NOTHING);
    return Start;
}

int32_t TRegexCompiler::parsePiece(int& Flags) {
    int AtomFlags;
    int32_t Start = parseAtom(AtomFlags);
    char Operator = *Parse;
    if (!IsRepeatOperator(Operator)) {
        Flags = AtomFlags;
        return Start;
    }
    // A loop over something that may match nothing would never end.
    if (!(AtomFlags & REGEX_HASWIDTH) && Operator != '?') RegexFail("*+ operand could be empty");
    Flags = Operator != '+' ? (REGEX_WORST | REGEX_SPSTART) : (REGEX_WORST | REGEX_HASWIDTH);

    if (Operator == '*' && (AtomFlags & REGEX_SIMPLE))
        insertNode(REGEX_STAR, Start);
    else if (Operator == '+' && (AtomFlags & REGEX_SIMPLE))
        insertNode(REGEX_PLUS, Start);
    else
        repeatByBranches(Operator, Start);
    Parse++;
    if (IsRepeatOperator(*Parse)) RegexFail("nested *?+");
    return Start;
}

// Repetition built of branches: always for '?', for '*' and '+' when the operand is not one character:
//   x*  BRANCH(x BACK->loop) BRANCH(NOTHING)
//   x+  x BRANCH(BACK->x) BRANCH(NOTHING)
//   x?  BRANCH(x) BRANCH(NOTHING)
void TRegexCompiler::repeatByBranches(char Operator, int32_t Operand) {
    if (Operator == '*') {
        insertNode(REGEX_BRANCH, Operand);
        linkBranchTail(Operand, emitNode(REGEX_BACK));
        linkBranchTail(Operand, Operand);
        linkTail(Operand, emitNode(REGEX_BRANCH));
        linkTail(Operand, emitNode(REGEX_NOTHING));
    } else if (Operator == '+') {
        int32_t Loop = emitNode(REGEX_BRANCH);
        linkTail(Operand, Loop);
        linkTail(emitNode(REGEX_BACK), Operand);
        linkTail(Loop, emitNode(REGEX_BRANCH));
        linkTail(Operand, emitNode(REGEX_NOTHING));
    } else {
        insertNode(REGEX_BRANCH, Operand);
        linkTail(Operand, emitNode(REGEX_BRANCH));
        int32_t Empty = emitNode(REGEX_NOTHING);
        linkTail(Operand, Empty);
        linkBranchTail(Operand, Empty);
    }
}

int32_t TRegexCompiler::parseAtom(int& Flags) {
    Flags = REGEX_WORST;
    switch (*Parse) {
    case '^':
        Parse++;
        return emitNode(REGEX_BOL);
    case '$':
        Parse++;
        return emitNode(REGEX_EOL);
    case '.':
        Parse++;
        Flags |= REGEX_HASWIDTH | REGEX_SIMPLE;
        return emitNode(REGEX_ANY);
    case '[':
        Parse++;
        Flags |= REGEX_HASWIDTH | REGEX_SIMPLE;
        return parseSet();
    case '(': {
        Parse++;
        int InnerFlags;
        int32_t Start = parseExpression(true, InnerFlags);
        Flags |= InnerFlags & (REGEX_HASWIDTH | REGEX_SPSTART);
        return Start;
    }
    case '|':
    case ')':
        RegexFail("internal urp"); // the branch loop stops in front of these
    case '?':
    case '+':
    case '*':
        RegexFail("?+* follows nothing");
    case '\\': {
        Parse++;
        if (*Parse == '\0') RegexFail("trailing \\");
        Flags |= REGEX_HASWIDTH | REGEX_SIMPLE;
        int32_t Start = emitNode(REGEX_EXACTLY);
        emitByte(static_cast<uint8_t>(*Parse++));
        emitByte(0);
        return Start;
    }
    default:
        return parseRun(Flags);
    }
}

// A set after its '['. ']' and '-' are literal first, '-' also last; a range a-z holds both ends.
int32_t TRegexCompiler::parseSet() {
    uint8_t Op = REGEX_ANYOF;
    if (*Parse == '^') {
        Op = REGEX_ANYBUT;
        Parse++;
    }
    int32_t Start = emitNode(Op);
    if (*Parse == ']' || *Parse == '-') emitByte(static_cast<uint8_t>(*Parse++));
    while (*Parse != '\0' && *Parse != ']') {
        if (*Parse != '-') {
            emitByte(static_cast<uint8_t>(*Parse++));
            continue;
        }
        Parse++;
        if (*Parse == ']' || *Parse == '\0') {
            emitByte('-');
            continue;
        }
        // The range's first character, two back, is already in the set.
        int First = static_cast<uint8_t>(Parse[-2]) + 1;
        int Last = static_cast<uint8_t>(*Parse);
        if (First > Last + 1) RegexFail("invalid [] range");
        for (int c = First; c <= Last; c++)
            emitByte(static_cast<uint8_t>(c));
        Parse++;
    }
    emitByte(0);
    if (*Parse != ']') RegexFail("unmatched []");
    Parse++;
    return Start;
}

// A run of ordinary characters as one EXACTLY node; a repetition operator behind the run applies to its
// last character alone, which is left for the next piece.
int32_t TRegexCompiler::parseRun(int& Flags) {
    size_t Length = strcspn(Parse, META);
    if (Length == 0) RegexFail("internal disaster");
    if (Length > 1 && IsRepeatOperator(Parse[Length])) Length--;
    Flags |= REGEX_HASWIDTH;
    if (Length == 1) Flags |= REGEX_SIMPLE;
    int32_t Start = emitNode(REGEX_EXACTLY);
    for (; Length > 0; Length--)
        emitByte(static_cast<uint8_t>(*Parse++));
    emitByte(0);
    return Start;
}

int32_t TRegexCompiler::emitNode(uint8_t Op) {
    int32_t Node = Program ? static_cast<int32_t>(Size) : 0;
    emitByte(Op);
    emitByte(0);
    emitByte(0);
    return Node;
}

void TRegexCompiler::emitByte(uint8_t Byte) {
    if (Program) {
        CHECK(Size < Capacity, Size, Capacity);
        Program[Size] = Byte;
    }
    Size++;
}

// Moves the operand and everything behind it up by one node and puts a node of Op in front.
void TRegexCompiler::insertNode(uint8_t Op, int32_t Operand) {
    if (Program) {
        CHECK(Size + REGEX_NODE_SIZE <= Capacity, Size, Capacity);
        memmove(Program + Operand + REGEX_NODE_SIZE, Program + Operand, Size - Operand);
        Program[Operand] = Op;
        Program[Operand + 1] = 0;
        Program[Operand + 2] = 0;
    }
    Size += REGEX_NODE_SIZE;
}

// Sets the next offset of the last node of the chain that starts at Chain.
void TRegexCompiler::linkTail(int32_t Chain, int32_t Target) {
    if (!Program) return;
    int32_t Last = Chain;
    for (int32_t Next = RegexNextNode(Program, Last); Next >= 0; Next = RegexNextNode(Program, Last))
        Last = Next;
    int32_t Offset = Program[Last] == REGEX_BACK ? Last - Target : Target - Last;
    Program[Last + 1] = static_cast<uint8_t>(Offset >> 8);
    Program[Last + 2] = static_cast<uint8_t>(Offset);
}

// linkTail on the operand of a BRANCH node; nothing for other nodes.
void TRegexCompiler::linkBranchTail(int32_t Branch, int32_t Target) {
    if (!Program || Program[Branch] != REGEX_BRANCH) return;
    linkTail(Branch + REGEX_NODE_SIZE, Target);
}
