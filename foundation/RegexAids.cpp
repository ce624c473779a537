// What the regular-expression matcher keeps beside a compiled program: the slots of its memory of failures
// and the index of long alternations by their first character.
#include "foundation/RegexProgram.h"

#include <cstring>
#include <new>

namespace {

// Alternations with fewer branches are tried one by one.
constexpr int32_t INDEXED_BRANCHES = 16;

const char* Operand(const uint8_t* Program, int32_t Node) {
    return reinterpret_cast<const char*>(Program + Node + REGEX_NODE_SIZE);
}

// Every node of the program in layout order: a node is its head and, for the text operations, its
// terminated operand.
std::vector<int32_t> NodesOf(const uint8_t* Program, int32_t Size) {
    std::vector<int32_t> Nodes;
    for (int32_t Node = 1; Node + REGEX_NODE_SIZE <= Size;) {
        Nodes.push_back(Node);
        const uint8_t Op = Program[Node];
        Node += REGEX_NODE_SIZE;
        if (Op == REGEX_EXACTLY || Op == REGEX_ANYOF || Op == REGEX_ANYBUT)
            Node += static_cast<int32_t>(strlen(reinterpret_cast<const char*>(Program + Node))) + 1;
    }
    return Nodes;
}

bool IsAlternation(const uint8_t* Program, int32_t Node) {
    const int32_t Next = RegexNextNode(Program, Node);
    return Program[Node] == REGEX_BRANCH && Next >= 0 && Program[Next] == REGEX_BRANCH;
}

// Indexes the alternation that starts at Head when it has many branches.
void IndexAlternation(const uint8_t* Program, int32_t Head, TRegexAids& Aids) {
    std::vector<int32_t> Firsts;
    for (int32_t Node = Head; Node >= 0 && Program[Node] == REGEX_BRANCH; Node = RegexNextNode(Program, Node))
        Firsts.push_back(Node + REGEX_NODE_SIZE);
    if (static_cast<int32_t>(Firsts.size()) < INDEXED_BRANCHES) return;
    TRegexAids::TBranchIndex Index;
    for (int32_t c = 0; c < 256; c++) {
        Index.Start[c] = static_cast<int32_t>(Aids.Branches.size());
        for (int32_t First : Firsts)
            if (Program[First] != REGEX_EXACTLY || static_cast<uint8_t>(Operand(Program, First)[0]) == c)
                Aids.Branches.push_back(First);
    }
    Index.Start[256] = static_cast<int32_t>(Aids.Branches.size());
    Aids.BranchIndexOf[Head] = static_cast<int32_t>(Aids.BranchIndexes.size());
    Aids.BranchIndexes.push_back(Index);
}

} // namespace

std::unique_ptr<TRegexAids> MakeRegexAids(const uint8_t* Program, int32_t Size) {
    try {
        auto Aids = std::make_unique<TRegexAids>();
        const std::vector<int32_t> Nodes = NodesOf(Program, Size);
        Aids->MemoSlot.assign(static_cast<size_t>(Size), -1);
        for (size_t Slot = 0; Slot < Nodes.size(); Slot++)
            Aids->MemoSlot[Nodes[Slot]] = static_cast<int16_t>(Slot);
        Aids->MemoRowBytes = static_cast<int32_t>((Nodes.size() + 7) / 8);
        Aids->Memo.resize(static_cast<size_t>(Aids->MemoRowBytes) * REGEX_MEMO_POSITIONS);
        Aids->BranchIndexOf.assign(static_cast<size_t>(Size), -1);
        // An alternation's later branches are reached only through its first.
        std::vector<bool> Later(static_cast<size_t>(Size), false);
        for (int32_t Node : Nodes)
            if (IsAlternation(Program, Node)) Later[RegexNextNode(Program, Node)] = true;
        for (int32_t Node : Nodes)
            if (IsAlternation(Program, Node) && !Later[Node]) IndexAlternation(Program, Node, *Aids);
        return Aids;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
