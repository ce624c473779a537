// The program's one exception, the fatal start-up errors, the check statements and the catch frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

// Thrown by value for failed checks and detected faults; caught by reference. Each catch frame builds a
// new one around the caught one, so Text reads like a short stack trace with the first throw last.
class TMyException {
public:
    TMyException(std::string_view File, int32_t Line, std::string_view Text, std::string_view Name1,
                 int32_t Value1, std::string_view Name2, int32_t Value2, std::string_view Reason);
    TMyException(std::string_view File, int32_t Line, std::string_view Text, std::string_view Name1,
                 int32_t Value1, std::string_view Name2, int32_t Value2, const TMyException& Cause);
    TMyException(const TMyException&) = default;
    TMyException& operator=(const TMyException&) = default;
    virtual ~TMyException() = default;

    std::string getText() const { return Text; }
    std::string getLocation() const { return Location; }

private:
    std::string Text;
    std::string Location; // file name and line of the first throw
};

// Fatal conditions the user can act on; thrown by value. Codes 1 to 18 have their own texts.
enum PROGRAM_ERROR : int32_t {};

const char* GetProgramErrorText(int32_t Code);
std::string GetProgramErrorAdvice(int32_t Code);

// The support address named in the advice for unknown error codes.
inline constexpr const char* SUPPORT_MAIL_ADDRESS = "support@pellarune.example";

inline bool In(int32_t x, int32_t lo, int32_t hi) { return lo <= x && x <= hi; }

// A value named by a check or a frame, as the signed 32-bit number the texts show.
template <typename T> int32_t NamedValue(T Value) {
    if constexpr (std::is_enum_v<T>)
        return static_cast<int32_t>(static_cast<int64_t>(Value));
    else
        return static_cast<int32_t>(Value);
}

// The part of a compiler file name behind its last '/' or '\'; the whole name when none is found or
// the separator ends it.
std::string_view FileBaseName(std::string_view File);

// Source text without its blanks; names of checks and frames are shown this way.
std::string WithoutBlanks(std::string_view Source);

// Throws "assertion failed"; the names are source texts and lose their blanks.
[[noreturn]] void ThrowCheckFailure(const char* File, int32_t Line, const char* Condition,
                                    const char* Name1 = "", int32_t Value1 = 0, const char* Name2 = "",
                                    int32_t Value2 = 0);

// Called inside `catch (...)`: passes a PROGRAM_ERROR on unchanged, wraps a TMyException with an
// "exception occurred" line and turns anything else into "unknown exception occurred". The names are source
// texts and lose their blanks.
[[noreturn]] void RethrowInFrame(const char* File, int32_t Line, const char* Name1 = "", int32_t Value1 = 0,
                                 const char* Name2 = "", int32_t Value2 = 0);

// The source name that checks, frames and throws report: the file that holds the line, as the part of the
// compiler's file name behind its last '/', made while compiling (a header reports its own name).
#define EBRUN_SOURCE_NAME __FILE_NAME__

#define EBRUN_NAMED0() "", 0, "", 0
#define EBRUN_NAMED1(A) #A, ::NamedValue(A), "", 0
#define EBRUN_NAMED2(A, B) #A, ::NamedValue(A), #B, ::NamedValue(B)
#define EBRUN_PICK_NAMED(_0, _1, _2, NAME, ...) NAME
#define EBRUN_NAMED(...)                                                                                     \
    EBRUN_PICK_NAMED(_0 __VA_OPT__(, ) __VA_ARGS__, EBRUN_NAMED2, EBRUN_NAMED1, EBRUN_NAMED0)(__VA_ARGS__)

// CHECK(Cond, [Value1, [Value2]]): throws "assertion failed" with the condition and the named values as
// written, blanks removed (the formatter's spacing is not part of the text: "In(Number,0,HOTKEYS-1)").
// CHECK_TEXT gives the condition text verbatim, for tags ("In(rx,0,MAPSIZE_X-1) [bug0000013]"), texts with
// blanks ("In(bz,0, 99)") and spellings the compiler does not take ("Name!=NULL").
#define CHECK(Cond, ...)                                                                                     \
    do {                                                                                                     \
        if (!(Cond))                                                                                         \
            ::ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, ::WithoutBlanks(#Cond).c_str(),                 \
                                EBRUN_NAMED(__VA_ARGS__));                                                   \
    } while (0)
#define CHECK_TEXT(Cond, Text, ...)                                                                          \
    do {                                                                                                     \
        if (!(Cond)) ::ThrowCheckFailure(EBRUN_SOURCE_NAME, __LINE__, Text, EBRUN_NAMED(__VA_ARGS__));       \
    } while (0)

// The catch frame of an entry function, naming up to two values at the moment of the catch:
//   void SendMove(int ObjectType, int Position) try { ... } CATCH_FRAME(ObjectType, Position)
// or `try { ... } CATCH_FRAME(Count)` around a body whose named locals are declared before the try.
#define CATCH_FRAME(...)                                                                                     \
    catch (...) {                                                                                            \
        ::RethrowInFrame(EBRUN_SOURCE_NAME, __LINE__, EBRUN_NAMED(__VA_ARGS__));                             \
    }
