// The program's one exception, the fatal start-up errors and the shared throw paths of checks and frames.
#include "foundation/Exception.h"

namespace {

void AppendNamedValue(std::string& Text, std::string_view Name, int32_t Value) {
    if (Name.empty()) return;
    Text += " (";
    Text += Name;
    Text += " = ";
    Text += std::to_string(Value);
    Text += ")";
}

std::string BuildHead(std::string_view Location, std::string_view Text, std::string_view Name1,
                      int32_t Value1, std::string_view Name2, int32_t Value2) {
    std::string Head(Location);
    Head += ": ";
    Head += Text;
    AppendNamedValue(Head, Name1, Value1);
    AppendNamedValue(Head, Name2, Value2);
    return Head;
}

std::string BuildLocation(std::string_view File, int32_t Line) {
    std::string Location(FileBaseName(File));
    Location += " ";
    Location += std::to_string(Line);
    return Location;
}

} // namespace

std::string_view FileBaseName(std::string_view File) {
    size_t Separator = File.find_last_of("/\\");
    if (Separator == std::string_view::npos || Separator + 1 == File.size()) return File;
    return File.substr(Separator + 1);
}

TMyException::TMyException(std::string_view File, int32_t Line, std::string_view Text, std::string_view Name1,
                           int32_t Value1, std::string_view Name2, int32_t Value2, std::string_view Reason)
    : Location(BuildLocation(File, Line)) {
    this->Text = BuildHead(Location, Text, Name1, Value1, Name2, Value2);
    if (!Reason.empty()) {
        this->Text += ", reason:\n";
        this->Text += Reason;
    }
}

TMyException::TMyException(std::string_view File, int32_t Line, std::string_view Text, std::string_view Name1,
                           int32_t Value1, std::string_view Name2, int32_t Value2, const TMyException& Cause)
    : Text(BuildHead(BuildLocation(File, Line), Text, Name1, Value1, Name2, Value2)),
      Location(Cause.Location) {
    this->Text += ", reason:\n";
    this->Text += Cause.Text;
}

const char* GetProgramErrorText(int32_t Code) {
    switch (Code) {
    case 1:
        return "Cannot find file \"Ebrun.dat\".";
    case 2:
        return "Cannot find file \"Ebrun.spr\".";
    case 3:
        return "Cannot find file \"Ebrun.pic\".";
    case 4:
        return "Cannot open file \"Ebrun.spr\".";
    case 5:
        return "Cannot open file \"Ebrun.pic\".";
    case 6:
        return "Cannot initialize Windows Sockets.";
    case 7:
        return "Cannot initialize DirectX.";
    case 8:
        return "Too low color depth detected.";
    case 9:
    case 10:
    case 11:
        return "Cannot initialize video graphics mode.";
    default:
        return In(Code, 12, 18) ? "Video surface allocation failed." : "Unknown error.";
    }
}

std::string GetProgramErrorAdvice(int32_t Code) {
    if (In(Code, 1, 5)) return "Please re-install the program.";
    switch (Code) {
    case 6:
        return "Please check the network settings of your system.";
    case 7:
        return "Please install DirectX version 5.0 or later.";
    case 8:
        return "Please switch to a graphics mode with a color depth of at least 16 bit.";
    default:
        if (In(Code, 9, 18)) return "Please choose another video graphics mode.";
        return std::string("Please submit a detailed bugreport including the error code number to ") +
               SUPPORT_MAIL_ADDRESS + ".";
    }
}

std::string WithoutBlanks(std::string_view Source) {
    std::string Compact;
    Compact.reserve(Source.size());
    for (char c : Source)
        if (c != ' ') Compact += c;
    return Compact;
}

void ThrowCheckFailure(const char* File, int32_t Line, const char* Condition, const char* Name1,
                       int32_t Value1, const char* Name2, int32_t Value2) {
    throw TMyException(File, Line, "assertion failed", WithoutBlanks(Name1), Value1, WithoutBlanks(Name2),
                       Value2, Condition);
}

void RethrowInFrame(const char* File, int32_t Line, const char* Name1, int32_t Value1, const char* Name2,
                    int32_t Value2) {
    std::string First = WithoutBlanks(Name1), Second = WithoutBlanks(Name2);
    try {
        throw;
    } catch (PROGRAM_ERROR) {
        throw;
    } catch (const TMyException& Cause) {
        throw TMyException(File, Line, "exception occurred", First, Value1, Second, Value2, Cause);
    } catch (...) {
        throw TMyException(File, Line, "unknown exception occurred", First, Value1, Second, Value2, "");
    }
}
