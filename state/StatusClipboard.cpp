// The clipboard guard and its link pattern.
#include "state/StatusClipboard.h"

#include "foundation/Exception.h"
#include "foundation/Regex.h"
#include "foundation/Utils.h"
#include "foundation/sysinc.h"
#include "state/Status.h"

#include <cstring>
#include <memory>

namespace {

// A host name under one of the listed top-level names, or a dotted IPv4 number, standing between
// separators; full stops may be written %2e. Matched against lower-cased text.
const char* const LinkPattern =
    "(^|[ .,:;/@<>|()\"\n\r%])"
    "(([a-z0-9-]+(\\.|\\%2e))+"
    "(ac|ad|ae|aero|af|ag|ai|al|am|an|ao|aq|ar|arpa|as|at|au|aw|az|ba|bb|bd|be|bf|bg|bh|bi|biz|bj|bm|bn|bo|br"
    "|bs|bt|bv|bw|by|bz|ca|cc|cd|cf|cg|ch|ci|ck|cl|cm|cn|co|com|coop|cr|cu|cv|cx|cy|cz|de|dj|dk|dm|do|dz|ec"
    "|edu|ee|eg|er|es|et|eu|fi|fj|fk|fm|fo|fr|ga|gb|gd|ge|gf|gg|gh|gi|gl|gm|gn|gov|gp|gq|gr|gs|gt|gu|gw|gy|hk"
    "|hm|hn|hr|ht|hu|id|ie|il|im|in|info|int|io|iq|ir|is|it|je|jm|jo|jobs|jp|ke|kg|kh|ki|km|kn|kr|kw|ky|kz"
    "|la|lb|lc|li|lk|lr|ls|lt|lu|lv|ly|ma|mc|md|mg|mh|mil|mk|ml|mm|mn|mo|mobi|mp|mq|mr|ms|mt|mu|museum|mv|mw"
    "|mx|my|mz|na|name|nc|ne|net|nf|ng|ni|nl|no|np|nr|nu|nz|om|org|pa|pe|pf|pg|ph|pk|pl|pm|pn|pr|pro|ps|pt|pw"
    "|py|qa|re|ro|ru|rw|sa|sb|sc|sd|se|sg|sh|si|sj|sk|sl|sm|sn|so|sr|st|su|sv|sy|sz|tc|td|tf|tg|th|tj|tk|tl"
    "|tm|tn|to|tp|tr|travel|tt|tv|tw|tz|ua|ug|uk|um|us|uy|uz|va|vc|ve|vg|vi|vn|vu|wf|ws|ye|yt|yu|za|zm|zw)"
    "\\.?"
    "|[0-9][0-9]?[0-9]?(\\.|\\%2e)[0-9][0-9]?[0-9]?(\\.|\\%2e)[0-9][0-9]?[0-9]?(\\.|\\%2e)[0-9][0-9]?[0-9]?)"
    "([?#& .,:;/@<>|()\"\r\n%]|$)";

// The pattern lives from InitStatus to ExitStatus; the held text until the next copy or ExitStatus.
struct {
    std::unique_ptr<TRegex> Pattern;
    std::unique_ptr<char[]> TaintedClipboardText;
} Guard;

// Characters an address is made of: letters, digits, hyphens, full stops and the per cent of "%2e".
// Runs of host characters longer than this reach past the positions where the matcher remembers its
// failures, and could exceed its limits; such a run is treated as a link, so the warning errs on the side
// of showing.
constexpr size_t LONGEST_JUDGED_RUN = REGEX_MEMO_POSITIONS - 3;

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '%';
}

} // namespace

bool ContainsLink(const char* Text) {
    CHECK_TEXT(Guard.Pattern != nullptr, "LinkPattern!=NULL");
    size_t Length = std::strlen(Text);
    auto Lowered = std::make_unique<char[]>(Length + 1);
    std::memcpy(Lowered.get(), Text, Length + 1);
    LowerString(Lowered.get());
    // An address never reaches beyond a run of host characters and the one character on either side, so
    // each run is matched on its own: the matcher's depth and work then grow with the longest run, not with
    // the whole text, and a long text cannot exhaust them before its last address.
    auto Piece = std::make_unique<char[]>(Length + 1);
    for (size_t Start = 0; Start < Length;) {
        if (!IsHostCharacter(Lowered[Start])) {
            Start++;
            continue;
        }
        size_t End = Start;
        while (End < Length && IsHostCharacter(Lowered[End]))
            End++;
        if (End - Start > LONGEST_JUDGED_RUN) return true;
        size_t From = Start > 0 ? Start - 1 : 0, To = End < Length ? End + 1 : End;
        std::memcpy(Piece.get(), Lowered.get() + From, To - From);
        Piece[To - From] = 0;
        if (MatchRegex(Guard.Pattern.get(), Piece.get()) == 1) return true;
        Start = End;
    }
    return false;
}

bool CopyToClipboard(const char* Text, int32_t Length) try {
    CHECK_TEXT(Text != nullptr, "Text!=NULL");
    CHECK(Length >= 0, Length);
    Guard.TaintedClipboardText = std::make_unique<char[]>(static_cast<size_t>(Length) + 1);
    std::memcpy(Guard.TaintedClipboardText.get(), Text, static_cast<size_t>(Length));
    Guard.TaintedClipboardText[Length] = 0;
    if (!ContainsLink(Guard.TaintedClipboardText.get()))
        return SetClipboardText(Guard.TaintedClipboardText.get());
    TLinkWarningHandler Handler = GetLinkWarningHandler();
    CHECK_TEXT(Handler != nullptr, "linkwarningeventhandler!=NULL");
    return Handler();
}
CATCH_FRAME(Length)

bool CopyTextToClipboard(const char* text) {
    CHECK_TEXT(text != nullptr, "text!=NULL");
    return CopyToClipboard(text, static_cast<int32_t>(std::strlen(text)));
}

bool CopyTaintedClipboardText() {
    CHECK_TEXT(Guard.TaintedClipboardText != nullptr, "TaintedClipboardText");
    return SetClipboardText(Guard.TaintedClipboardText.get());
}

void InitClipboardGuard() {
    Guard.Pattern = CompileRegex(LinkPattern);
    CHECK_TEXT(Guard.Pattern != nullptr, "LinkPattern!=NULL");
}

void ExitClipboardGuard() {
    Guard.Pattern.reset();
    Guard.TaintedClipboardText.reset();
}
