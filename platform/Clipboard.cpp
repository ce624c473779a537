// The system's text clipboard: SDL's once a window's video subsystem is up, an in-memory one before.
#include "platform/Clipboard.h"

#include <SDL.h>

namespace {

// The headless clipboard; lives for the whole run and is never handed to SDL.
struct {
    bool HasText = false;
    std::string Text;
} Memory;

bool SdlAvailable() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }

} // namespace

bool SystemClipboardHasText() {
    if (!SdlAvailable()) return Memory.HasText;
    return SDL_HasClipboardText() == SDL_TRUE;
}

bool ReadSystemClipboard(std::string& Utf8) {
    if (!SdlAvailable()) {
        Utf8 = Memory.Text;
        return true;
    }
    char* Text = SDL_GetClipboardText();
    if (Text == nullptr) return false;
    Utf8 = Text;
    SDL_free(Text);
    return true;
}

bool WriteSystemClipboard(const std::string& Utf8) {
    if (!SdlAvailable()) {
        Memory.HasText = true;
        Memory.Text = Utf8;
        return true;
    }
    return SDL_SetClipboardText(Utf8.c_str()) == 0;
}
