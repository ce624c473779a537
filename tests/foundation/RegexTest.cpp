// The regular-expression engine: matching, the shortcuts, every error message, its limits and a random run.
#include "foundation/Regex.h"
#include "foundation/RegexProgram.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

// The engine takes its program block from the non-throwing array new; a test makes it fail on demand.
static bool FailArrayAllocation = false;
void* operator new[](std::size_t Size, const std::nothrow_t&) noexcept {
    if (FailArrayAllocation) return nullptr;
    try {
        return ::operator new[](Size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

std::vector<std::string> Errors;
void RecordError(const char* Message) { Errors.push_back(Message); }

class Regex : public ::testing::Test {
protected:
    void SetUp() override {
        Errors.clear();
        SetRegexErrorHook(RecordError);
    }
    void TearDown() override { SetRegexErrorHook(nullptr); }
};

// The one error of compiling Pattern, or "compiled".
std::string CompileError(const char* Pattern) {
    Errors.clear();
    bool Compiled = CompileRegex(Pattern) != nullptr;
    if (Errors.size() != (Compiled ? 0u : 1u)) return "unexpected errors";
    return Compiled ? "compiled" : Errors[0];
}

// The text that Pattern finds in Text as "offset:text", or "none".
std::string Find(const char* Pattern, const char* Text) {
    std::unique_ptr<TRegex> Compiled = CompileRegex(Pattern);
    if (!Compiled) return "not compiled";
    if (!MatchRegex(Compiled.get(), Text)) return "none";
    const char* Start = Compiled->MatchStart[0];
    return std::to_string(Start - Text) + ":" + std::string(Start, Compiled->MatchEnd[0]);
}

// Group n of the last match, or "NULL" when the group took no part.
std::string Group(const TRegex& Compiled, int n) {
    if (!Compiled.MatchStart[n] || !Compiled.MatchEnd[n]) return "NULL";
    return std::string(Compiled.MatchStart[n], Compiled.MatchEnd[n]);
}

// The link pattern by which the client recognises a web address or an IPv4 number in lower-cased text.
const char* const LINK_PATTERN =
    "(^|[ .,:;/@<>|()\"\n\r%])(([a-z0-9-]+(\\.|\\%2e))+(ac|ad|ae|aero|af|ag|ai|al|am|an|ao|aq|ar|arpa"
    "|as|at|au|aw|az|ba|bb|bd|be|bf|bg|bh|bi|biz|bj|bm|bn|bo|br|bs|bt|bv|bw|by|bz|ca|cc|cd|cf|cg|ch|c"
    "i|ck|cl|cm|cn|co|com|coop|cr|cu|cv|cx|cy|cz|de|dj|dk|dm|do|dz|ec|edu|ee|eg|er|es|et|eu|fi|fj|fk|"
    "fm|fo|fr|ga|gb|gd|ge|gf|gg|gh|gi|gl|gm|gn|gov|gp|gq|gr|gs|gt|gu|gw|gy|hk|hm|hn|hr|ht|hu|id|ie|il"
    "|im|in|info|int|io|iq|ir|is|it|je|jm|jo|jobs|jp|ke|kg|kh|ki|km|kn|kr|kw|ky|kz|la|lb|lc|li|lk|lr|"
    "ls|lt|lu|lv|ly|ma|mc|md|mg|mh|mil|mk|ml|mm|mn|mo|mobi|mp|mq|mr|ms|mt|mu|museum|mv|mw|mx|my|mz|na"
    "|name|nc|ne|net|nf|ng|ni|nl|no|np|nr|nu|nz|om|org|pa|pe|pf|pg|ph|pk|pl|pm|pn|pr|pro|ps|pt|pw|py|"
    "qa|re|ro|ru|rw|sa|sb|sc|sd|se|sg|sh|si|sj|sk|sl|sm|sn|so|sr|st|su|sv|sy|sz|tc|td|tf|tg|th|tj|tk|"
    "tl|tm|tn|to|tp|tr|travel|tt|tv|tw|tz|ua|ug|uk|um|us|uy|uz|va|vc|ve|vg|vi|vn|vu|wf|ws|ye|yt|yu|za"
    "|zm|zw)\\.?|[0-9][0-9]?[0-9]?(\\.|\\%2e)[0-9][0-9]?[0-9]?(\\.|\\%2e)[0-9][0-9]?[0-9]?(\\.|\\%2e)"
    "[0-9][0-9]?[0-9]?)([?#& .,:;/@<>|()\"\r\n%]|$)";

} // namespace

TEST_F(Regex, Matches) {
    struct {
        const char *Pattern, *Text, *Found;
    } const Cases[] = {
        // clang-format off
        {"a|b", "xbx", "1:b"}, {"^a", "ba", "none"}, {"a$", "ba", "1:a"}, {"a$", "ab", "none"},
        {"", "xy", "0:"}, {"$", "xy", "2:"}, {"x(^a|b)", "xa", "none"}, {"cat|category", "category", "0:cat"},
        // greedy repetition that gives back; a repetition after a run takes its last character only
        {"a*ab", "xaaab", "1:aaab"}, {"x+y", "y", "none"}, {".*c", "abcabc!", "0:abcabc"},
        {"colou?r", "colour", "0:colour"}, {"abc*", "abd", "0:ab"}, {"(ab)*abc", "ababc", "0:ababc"},
        {"(a|ab)(c|bcd)", "abcd", "0:abcd"},
        // sets: ']' and '-' literal first, '-' last; ranges chain; the terminator is never in a set
        {"[]a]+", "x]a]", "1:]a]"}, {"[-a]+", "x-a-", "1:-a-"}, {"[a-]+", "x-a", "1:-a"},
        {"[^a-c]+", "abxyzc", "2:xyz"}, {"[a-c-e]+", "fcdeb", "1:cdeb"}, {"a[^b]", "a", "none"},
        {"[\xe0-\xfe]+", "M\xe4\xf6x", "1:\xe4\xf6"}, {"[^\xe4]", "\xe4z", "1:z"}, {"a.", "a", "none"},
        {"a\\.b", "axb a.b", "4:a.b"}, {"\\(\\\\\\*", "(\\*", "0:(\\*"}, {"a]{", "a]{", "0:a]{"}};
    // clang-format on
    for (const auto& Case : Cases)
        EXPECT_EQ(Find(Case.Pattern, Case.Text), Case.Found) << Case.Pattern << " in " << Case.Text;
    EXPECT_TRUE(Errors.empty());
}

TEST_F(Regex, GroupsKeepTheirLastPass) {
    std::unique_ptr<TRegex> Compiled = CompileRegex("((a|b)*)c|(y)");
    ASSERT_EQ(MatchRegex(Compiled.get(), "xabbc"), 1);
    EXPECT_EQ(Group(*Compiled, 0), "abbc");
    EXPECT_EQ(Group(*Compiled, 1), "abb");
    EXPECT_EQ(Group(*Compiled, 2), "b");
    EXPECT_EQ(Group(*Compiled, 3), "NULL");
    ASSERT_EQ(MatchRegex(Compiled.get(), "y"), 1);
    EXPECT_EQ(Group(*Compiled, 1), "NULL"); // not left over from the earlier match
    EXPECT_EQ(Group(*Compiled, 3), "y");
}

TEST_F(Regex, ProgramLayout) {
    std::unique_ptr<TRegex> Compiled = CompileRegex("a*");
    const uint8_t Expected[] = {REGEX_MAGIC, REGEX_BRANCH, 0, 11, REGEX_STAR, 0, 8, REGEX_EXACTLY, 0,
                                0,           'a',          0, 0,  0,          0};
    ASSERT_EQ(Compiled->ProgramSize, static_cast<int32_t>(sizeof(Expected)));
    EXPECT_EQ(memcmp(Compiled->Program.get(), Expected, sizeof(Expected)), 0);
}

TEST_F(Regex, Shortcuts) {
    std::unique_ptr<TRegex> Compiled = CompileRegex("abc[0-9]");
    EXPECT_EQ(Compiled->FirstChar, 'a');
    EXPECT_EQ(Compiled->MustText, nullptr);
    EXPECT_EQ(Find("aab", "aaab"), "1:aab"); // every position holding the first character is tried
    EXPECT_EQ(CompileRegex("^x|y")->Anchored, 0);
    Compiled = CompileRegex("^ab");
    EXPECT_NE(Compiled->Anchored, 0);
    EXPECT_EQ(MatchRegex(Compiled.get(), "xab"), 0);
    // The longest text on the branch's own chain, the later of equal ones; none inside loops.
    Compiled = CompileRegex("x*ab(cdefg)*.cd");
    ASSERT_TRUE(Compiled->MustText);
    EXPECT_STREQ(Compiled->MustText, "cd");
    EXPECT_EQ(Compiled->MustLength, 2);
    EXPECT_EQ(MatchRegex(Compiled.get(), "xxabzcd"), 1);
    EXPECT_EQ(MatchRegex(Compiled.get(), "xxabcdefgc"), 0);
    EXPECT_EQ(CompileRegex("a*|bcd")->MustText, nullptr);
}

TEST_F(Regex, SyntaxErrors) {
    struct {
        const char *Pattern, *Error;
    } const Cases[] = {// clang-format off
        {nullptr, "NULL argument"}, {"(a*)*", "*+ operand could be empty"},
        {"(a|)+", "*+ operand could be empty"}, {"^*", "*+ operand could be empty"},
        {"(a?)", "compiled"}, {"()", "compiled"}, {"a**", "nested *?+"}, {"(ab)?+", "nested *?+"},
        {"*a", "?+* follows nothing"}, {"a|?", "?+* follows nothing"}, {"(+)", "?+* follows nothing"},
        {"[b-a]", "invalid [] range"}, {"[a-a]", "compiled"}, {"(a", "unmatched ()"}, {"a)", "unmatched ()"},
        {"[ab", "unmatched []"}, {"[a-", "unmatched []"}, {"a\\", "trailing \\"},
        {"(1)(2)(3)(4)(5)(6)(7)(8)(9)", "compiled"}, {"(1)(2)(3)(4)(5)(6)(7)(8)(9)(10)", "too many ()"},
        {"((((((((((x))))))))))", "too many ()"}};
    // clang-format on
    for (const auto& Case : Cases)
        EXPECT_EQ(CompileError(Case.Pattern), Case.Error) << (Case.Pattern ? Case.Pattern : "NULL");
}

TEST_F(Regex, ErrorsThatValidPatternsNeverReach) {
    auto ParseError = [](const char* Pattern, auto Parse) -> std::string {
        TRegexCompiler Compiler(Pattern, nullptr, 0);
        try {
            Parse(Compiler);
        } catch (const TRegexFailure& Failure) {
            return Failure.Message;
        }
        return "no error";
    };
    auto Atom = [](TRegexCompiler& Compiler) {
        int Flags;
        Compiler.parseAtom(Flags);
    };
    EXPECT_EQ(ParseError("|", Atom), "internal urp");
    EXPECT_EQ(ParseError(")", Atom), "internal urp");
    EXPECT_EQ(ParseError("", Atom), "internal disaster");
    EXPECT_EQ(ParseError("x", [](TRegexCompiler& Compiler) { Compiler.expectEnd(); }), "junk on end");
    EXPECT_EQ(ParseError(")", [](TRegexCompiler& Compiler) { Compiler.expectEnd(); }), "unmatched ()");
}

TEST_F(Regex, ProgramSizeLimitAndAllocation) {
    // Magic byte, BRANCH, EXACTLY with its terminator, END: the text plus 11 bytes.
    std::string Text(REGEX_MAX_PROGRAM - 12, 'a');
    EXPECT_EQ(CompileError(Text.c_str()), "compiled");
    Text += 'a';
    EXPECT_EQ(CompileError(Text.c_str()), "regexp too big");
    FailArrayAllocation = true;
    std::string Error = CompileError("abc");
    FailArrayAllocation = false;
    EXPECT_EQ(Error, "out of space");
}

TEST_F(Regex, DamagedRecordsFailWithoutHarm) {
    EXPECT_EQ(MatchRegex(nullptr, "x"), 0);
    std::unique_ptr<TRegex> Compiled = CompileRegex("ab");
    EXPECT_EQ(MatchRegex(Compiled.get(), nullptr), 0);
    EXPECT_EQ(Errors, (std::vector<std::string>{"NULL parameter", "NULL parameter"}));

    // Each case damages one byte of a fresh program; the opcodes sit at 1 (BRANCH), 4, 7 and 12 of "a*".
    struct {
        int Offset;
        uint8_t Byte;
        const char* Error;
    } const Cases[] = {// clang-format off
        {0, 0x9D, "corrupted program"}, {4, 12, "memory corruption"}, {4, REGEX_CLOSE + 10, "memory corruption"},
        {7, REGEX_NOTHING, "internal foulup"}, {6, 0, "corrupted pointers"}, {3, 200, "corrupted pointers"}};
    // clang-format on
    for (const auto& Case : Cases) {
        Compiled = CompileRegex("a*");
        Compiled->Program[Case.Offset] = Case.Byte;
        Errors.clear();
        EXPECT_EQ(MatchRegex(Compiled.get(), "aa"), 0) << Case.Error;
        EXPECT_EQ(Errors, std::vector<std::string>{Case.Error});
    }
}

TEST_F(Regex, LinkPattern) {
    std::unique_ptr<TRegex> Link = CompileRegex(LINK_PATTERN);
    ASSERT_TRUE(Link);
    for (const char* Text :
         {"see www.example.com now", "www.pellarune.de", "ip 192.168.0.1:7171", "go to a%2eb%2eorg",
          "(host.net)", "x.y.z.museum.", "line\nmail.server.co.uk?x=1"})
        EXPECT_EQ(MatchRegex(Link.get(), Text), 1) << Text;
    for (const char* Text : {"hello.world", "no dots here", "wwwexamplecom", "1.2.3", "www.example.comx",
                             "1.2.3.4567", "mail@example.comma"})
        EXPECT_EQ(MatchRegex(Link.get(), Text), 0) << Text;
    // Text built to backtrack as much as possible is judged whole, up to an address at its very end.
    std::string Slow;
    while (Slow.size() < 1000)
        Slow += "a.";
    EXPECT_EQ(MatchRegex(Link.get(), Slow.c_str()), 0);
    const std::string Address = Slow + "x.com"; // one host name of many labels
    EXPECT_EQ(MatchRegex(Link.get(), Address.c_str()), 1);
    EXPECT_EQ(Link->MatchEnd[0] - Link->MatchStart[0], static_cast<ptrdiff_t>(Address.size()));
    EXPECT_TRUE(Errors.empty());
}

TEST_F(Regex, LongTextsAndHostilePatternsEndWithAnError) {
    // A loop over a group goes deeper with every pass; the text is far longer than the stack allows.
    std::unique_ptr<TRegex> Loop = CompileRegex("(ab)*c");
    std::string Text;
    for (int i = 0; i < 100000; i++)
        Text += "ab";
    EXPECT_EQ(MatchRegex(Loop.get(), (Text + "c").c_str()), 0);
    EXPECT_EQ(Errors, std::vector<std::string>{"recursion too deep"});
    Errors.clear();
    EXPECT_EQ(MatchRegex(Loop.get(), (Text.substr(0, 2000) + "c").c_str()), 1);
    EXPECT_EQ(Loop->MatchEnd[0] - Loop->MatchStart[0], 2001);

    // Every split of the a's between the two alternatives would be tried before the 'c' fails them all;
    // within the remembered positions each split point fails once, beyond them the limit ends the work.
    std::unique_ptr<TRegex> Split = CompileRegex("(a|a)*b");
    EXPECT_EQ(MatchRegex(Split.get(), (std::string(40, 'a') + "cb").c_str()), 1);
    EXPECT_TRUE(Errors.empty());
    const std::string Far(REGEX_MEMO_POSITIONS, 'c');
    EXPECT_EQ(MatchRegex(Split.get(), (Far + std::string(40, 'a') + "cb").c_str()), 0);
    EXPECT_EQ(Errors, std::vector<std::string>{"too much backtracking"});
}

namespace {

std::string RandomText(std::mt19937& Random, const char* Alphabet, int MaxLength) {
    std::string Text(Random() % (MaxLength + 1), ' ');
    for (char& c : Text)
        c = Alphabet[Random() % strlen(Alphabet)];
    return Text;
}

} // namespace

// Random patterns and texts under the sanitizers: no error but the syntax errors, and consistent pointers.
TEST_F(Regex, RandomPatternsAndTexts) {
    std::mt19937 Random(1986);
    int Compiled = 0;
    for (int Case = 0; Case < 20000; Case++) {
        std::string Pattern = RandomText(Random, "aaabb.()|*+?[]^$-\\\xe4", 10);
        std::unique_ptr<TRegex> Regex = CompileRegex(Pattern.c_str());
        if (!Regex) continue;
        Compiled++;
        Errors.clear();
        for (int Subject = 0; Subject < 6; Subject++) {
            std::string Text = RandomText(Random, "aab-]\xe4", 12);
            if (!MatchRegex(Regex.get(), Text.c_str())) continue;
            const char* End = Text.c_str() + Text.size();
            ASSERT_TRUE(Text.c_str() <= Regex->MatchStart[0] && Regex->MatchEnd[0] <= End);
            for (int n = 1; n < REGEX_SUBEXPRESSIONS; n++) {
                const char *Start = Regex->MatchStart[n], *Stop = Regex->MatchEnd[n];
                ASSERT_TRUE((!Start && !Stop) ||
                            (Regex->MatchStart[0] <= Start && Start <= Stop && Stop <= Regex->MatchEnd[0]))
                    << Pattern << " on " << Text << " group " << n;
            }
        }
        ASSERT_TRUE(Errors.empty()) << Pattern;
    }
    EXPECT_GT(Compiled, 4000); // enough of the patterns are valid to exercise the matcher
}
