// libFuzzer harness of the mark-up text box and the shortened label, with the generated fonts. An input is:
//   byte 0: the box's width (0: automatic) and the label's, in steps of 2 pixels; byte 1: the box's height;
//   the rest: the mark-up, up to the first zero byte.
// Oracle: the box's labels show pieces of the mark-up in their order, one line each, placed inside the box's
// coordinates; a shortened label keeps each line or a start of it ending in dots.
#include "foundation/Exception.h"
#include "fuzz/FuzzSupport.h"
#include "graphics/graphics.h"
#include "gui/DialogElementsText.h"
#include "gui/DialogElementsViews.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int32_t MEMORY_CACHE_BYTES = 256 * TILE_BYTES;
constexpr uint8_t NO_SPRITES[6] = {0, 0, 0, 0, 0, 0}; // a signature and no sprites

// The children in the order the layout made them (each was added at the head of the list).
std::vector<TComponent*> Elements(const TMarkupTextBox& Box) {
    std::vector<TComponent*> Children;
    for (TComponent* Child = Box.FirstChild; Child != nullptr; Child = Child->Next)
        Children.insert(Children.begin(), Child);
    return Children;
}

void CheckBox(const std::string& Markup, int32_t Width, int32_t Height) {
    TMarkupTextBox Box(Markup.c_str());
    Box.setSize(Width, Height);
    size_t From = 0;
    for (TComponent* Child : Elements(Box)) {
        Expect(Child->X >= 0 && Child->Y >= 0, "element placed before the box's origin");
        const auto* Label = dynamic_cast<const TTextLabel*>(Child);
        if (Label == nullptr) {
            Expect(dynamic_cast<const TSkinImage*>(Child) != nullptr, "an element neither text nor skin");
            continue;
        }
        Expect(Label->LineCount == 1, "a run of more than one line");
        const size_t At = Markup.find(Label->getText(), From);
        Expect(At != std::string::npos, "a run that is no piece of the mark-up, in order");
        From = At + std::strlen(Label->getText());
    }
}

// A line is kept, or cut to a start of it and three dots, or (shorter than three characters) all dots.
void CheckShortenedLabel(const std::string& Text, int32_t Width) {
    TTextLabel Label(0, 0, Width, 20, 4, 255, 255, 255, LEFT_ALIGN, Text.c_str(), true);
    const char* Full = Label.getText();
    for (int32_t Line = 0; Line < Label.LineCount; Line++) {
        const std::string Shown = Label.getLine(Line);
        const size_t Dots = std::min<size_t>(Shown.size(), 3), Kept = Shown.size() - Dots;
        const bool Whole = std::strstr(Full, Shown.c_str()) != nullptr;
        const bool Shortened = Shown.compare(Kept, Dots, std::string(Dots, '.')) == 0 &&
                               std::strstr(Full, Shown.substr(0, Kept).c_str()) != nullptr;
        Expect(Whole || Shortened, "a shortened line that is neither the line nor a start of it");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::vector<uint8_t> Fonts = ReadFileBytes(EBRUN_FUZZ_FONTS);
    EnterScratchDirectory();
    WriteInput("Ebrun.pic", Fonts);
    WriteInput("Ebrun.spr", NO_SPRITES, sizeof NO_SPRITES);
    InitGraphics(MEMORY_CACHE_BYTES);
    InitSkins();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 2) return -1;
    const std::string Markup(reinterpret_cast<const char*>(Data) + 2,
                             strnlen(reinterpret_cast<const char*>(Data) + 2, Size - 2));
    try {
        CheckBox(Markup, 2 * Data[0], Data[1]);
        CheckShortenedLabel(Markup, 2 * Data[0]);
    } catch (const TMyException& Error) {
        Finding("laying out the mark-up failed: " + Error.getText());
    }
    return 0;
}
