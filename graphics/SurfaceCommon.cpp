// The engines' shared surface layout, client rectangle, display-mode list and stretch checks.
#include "graphics/SurfaceCommon.h"

#include "foundation/Exception.h"
#include "graphics/Engine.h"
#include "platform/Window.h"
#include "state/Preferences.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

void InitSurfaceRects(TPixelRect* Rect, int32_t Count, int32_t PageSize) {
    for (int32_t i = 0; i < Count; i++)
        Rect[i] = {0, 0, PageSize, PageSize};
    Rect[PRIMARY_SURFACE] = Rect[SCREEN_SURFACE] = {0, 0, 0, 0};
    Rect[TEMP_SURFACE] = {0, 0, TEMP_WIDTH, TEMP_HEIGHT};
    Rect[STRETCH_SURFACE] = {0, 0, STRETCH_SIZE, STRETCH_SIZE};
    Rect[CACHE_SURFACE] = {0, 0, CACHE_WIDTH, CACHE_HEIGHT};
    Rect[AUTOMAP_SURFACE] = {0, 0, AUTOMAP_SIZE, AUTOMAP_SIZE};
}

void TakeClientRectangle(TWindow& Window, TPixelRect* Rect, TPixelRect& OnScreen) {
    int32_t Width = 0, Height = 0;
    Window.getClientSize(Width, Height);
    Rect[PRIMARY_SURFACE] = Rect[SCREEN_SURFACE] = {0, 0, Width, Height};
    int32_t Left = 0, Top = 0, Right = Width, Bottom = Height;
    Window.clientToScreen(Left, Top);
    Window.clientToScreen(Right, Bottom);
    OnScreen = {Left, Top, Right, Bottom};
}

bool HasHardwareStretch(TDisplayDevice& Device) {
    TDisplayCaps Caps;
    return Device.getCaps(Caps) == PLATFORM_OK && Caps.ShrinkX && Caps.StretchX && Caps.ShrinkY &&
           Caps.StretchY;
}

int32_t ListDisplayModes(TDisplayDevice* Device, std::unique_ptr<TDisplayMode[]>& List) {
    List.reset();
    std::vector<TDisplayModeInfo> Modes;
    if (Device == nullptr || Device->enumDisplayModes(Modes) != PLATFORM_OK) return 0;
    std::vector<TDisplayMode> Kept;
    for (const TDisplayModeInfo& M : Modes)
        if (M.Width >= 640 && M.Height >= 480 && M.BitsPerPixel >= 16)
            Kept.push_back({M.Width, M.Height, M.BitsPerPixel, M.RefreshRate});
    if (Kept.empty()) return 0;
    List = std::make_unique<TDisplayMode[]>(Kept.size());
    std::copy(Kept.begin(), Kept.end(), List.get());
    return static_cast<int32_t>(Kept.size());
}

const TDisplayMode* SubstituteFullScreenMode(const TDisplayMode* GMode, const TDisplayMode* Modes,
                                             int32_t Count) {
    if (Count <= 0) return nullptr;
    for (int32_t i = 0; i < Count; i++)
        if (Modes[i].Width == GMode->Width && Modes[i].Height == GMode->Height) return &Modes[i];
    const TDisplayMode& Last = Modes[Count - 1];
    TDisplayMode* Record = const_cast<TDisplayMode*>(GMode);
    Record->Width = Last.Width;
    Record->Height = Last.Height;
    Record->Depth = Last.Depth;
    return &Last;
}

namespace {

// One axis of StretchPieces: the target span from Start with Length pixels, the source span from From with
// FromLength texels. Target pixel i samples From + (i + 0.5) FromLength / Length; those with (2i + 1)
// FromLength < Length lie before the first texel's centre, as many at the far end lie past the last one's.
struct TStretchSpans {
    int32_t Count; // 1, or 3 with the outer two held at the edge texels' centres
    int32_t Edge[4];
    float From[3], To[3]; // source coordinate at each span's two ends
};

TStretchSpans StretchSpans(int32_t Start, int32_t Length, int32_t From, int32_t FromLength) {
    const auto At = [&](int32_t i) {
        return static_cast<float>(From + static_cast<double>(i) * FromLength / Length);
    };
    int32_t Held = 0;
    while (Held < Length / 2 && (2 * int64_t{Held} + 1) * FromLength < Length)
        Held++;
    if (Held == 0) return {1, {Start, Start + Length}, {At(0)}, {At(Length)}};
    const float First = From + 0.5f, Last = From + FromLength - 0.5f;
    return {3,
            {Start, Start + Held, Start + Length - Held, Start + Length},
            {First, At(Held), Last},
            {First, At(Length - Held), Last}};
}

} // namespace

int32_t TextureSize(int32_t Size) {
    int32_t Power = 1;
    while (Power < Size && Power < (1 << 30))
        Power *= 2;
    return Power;
}

TPageTexture PageTextureLayout(int32_t PageSize) {
    constexpr int32_t WHITE_BLOCK = 8;
    const int32_t Bottom = PageY(MAXIMUM_PAGES - 1, PageSize) + PageSize;
    const TPixelRect White{0, Bottom, WHITE_BLOCK, Bottom + WHITE_BLOCK};
    return {TextureSize(PAGE_COLUMNS * PageSize), TextureSize(Bottom + WHITE_BLOCK), White};
}

int32_t StretchPieces(int32_t x, int32_t y, int32_t Width, int32_t Height, int32_t FromX, int32_t FromY,
                      int32_t FromWidth, int32_t FromHeight, TStretchPiece (&Pieces)[9]) {
    if (Width <= 0 || Height <= 0 || FromWidth <= 0 || FromHeight <= 0) return 0;
    const TStretchSpans Across = StretchSpans(x, Width, FromX, FromWidth);
    const TStretchSpans Down = StretchSpans(y, Height, FromY, FromHeight);
    int32_t Count = 0;
    for (int32_t r = 0; r < Down.Count; r++)
        for (int32_t c = 0; c < Across.Count; c++)
            Pieces[Count++] = {Across.Edge[c], Down.Edge[r], Across.Edge[c + 1], Down.Edge[r + 1],
                               Across.From[c], Down.From[r], Across.To[c],       Down.To[r]};
    return Count;
}

void MakeBackgroundTransparent(uint32_t* Texels, size_t Count, int32_t Red, int32_t Green, int32_t Blue) {
    constexpr int32_t TOLERANCE = 2;
    const auto Near = [](uint32_t Texel, int Shift, int32_t Value) {
        return std::abs(static_cast<int32_t>((Texel >> Shift) & 0xFF) - Value) <= TOLERANCE;
    };
    for (size_t i = 0; i < Count; i++)
        if (Near(Texels[i], 16, Red) && Near(Texels[i], 8, Green) && Near(Texels[i], 0, Blue))
            Texels[i] &= 0x00FFFFFFu;
}

bool CutCopyToSource(int32_t (&To)[4], int32_t (&From)[4], int32_t Width, int32_t Height) {
    int32_t Cut[4] = {};
    if (!TSurface::ClipRectangle(0, 0, Width, Height, From, Cut)) return false;
    for (int32_t i = 0; i < 4; i++)
        To[i] += Cut[i];
    return true;
}

void CheckStretchScratch(const TRectangle& Temp, const TRectangle& Stretch, int32_t ToSurface,
                         int32_t FromSurface, int32_t Width, int32_t Height, int32_t FromWidth,
                         int32_t FromHeight) {
    CHECK_TEXT(FromSurface != TEMP_SURFACE, "FromSurface!=TEMP_SURFACE");
    CHECK_TEXT(FromSurface != STRETCH_SURFACE, "FromSurface!=STRETCH_SURFACE");
    CHECK_TEXT(ToSurface != TEMP_SURFACE, "ToSurface!=TEMP_SURFACE");
    CHECK_TEXT(ToSurface != STRETCH_SURFACE, "ToSurface!=STRETCH_SURFACE");
    CHECK_TEXT(FromWidth + 1 <= Temp.x + Temp.Width && FromHeight + 1 <= Temp.y + Temp.Height,
               "FromRect.width+1<=Rect[TEMP_SURFACE].right && FromRect.height+1<=Rect[TEMP_SURFACE].bottom",
               FromWidth, FromHeight);
    CHECK_TEXT(Width <= Stretch.x + Stretch.Width && Height <= Stretch.y + Stretch.Height,
               "ToRect.width<=Rect[STRETCH_SURFACE].right && ToRect.height<=Rect[STRETCH_SURFACE].bottom",
               Width, Height);
}

void TDisplayEngine::initDisplay(int32_t PageSize) {
    Window = nullptr;
    ViewMode = 0;
    Lost = false;
    DirectDraw.reset();
    SetPageSize(PageSize, PageSize);
    for (int32_t& Memory : SurfaceMemory)
        Memory = MEMORY_NONE;
    InitSurfaceRects(Rect, NUMBER_OF_SURFACES, PageSize);
    NumberOfPages = 0;
    Renewed = false;
    if (TDisplayDevice::create(DirectDraw) != PLATFORM_OK) throw PROGRAM_ERROR(7);
    HardwareStretch = HasHardwareStretch(*DirectDraw);
    InitNoStretching(!HardwareStretch);
    ResetFrameClock();
    SetFrameRate(GetConfineFramerate());
}

void TDisplayEngine::ExitSurfaces() {
    ReleaseSurfaces();
    DirectDraw.reset();
}

void TDisplayEngine::checkVideoMode(int32_t VMode, const TDisplayMode* GMode) const {
    CHECK_TEXT(DirectDraw != nullptr, "DirectDraw!=NULL");
    CHECK_TEXT(Window != nullptr, "hWindow!=NULL");
    CHECK_TEXT(VMode == WINDOWED_MODE || VMode == FULLSCREEN_MODE,
               "VMode==WINDOWED_MODE || VMode==FULLSCREEN_MODE", VMode);
    CHECK_TEXT(VMode == WINDOWED_MODE || GMode != nullptr, "VMode==WINDOWED_MODE || GMode!=NULL", VMode);
}

void TDisplayEngine::checkNothingMade(bool Direct3D, const char* Table,
                                      bool (*Made)(const TDisplayEngine&, int32_t)) const {
    CHECK_TEXT(DirectDraw != nullptr, "DirectDraw!=NULL");
    CHECK_TEXT(!Direct3D, "Direct3D==NULL");
    static constexpr struct {
        int32_t Surface;
        const char* Name;
    } Fixed[] = {{PRIMARY_SURFACE, "PRIMARY_SURFACE"}, {SCREEN_SURFACE, "SCREEN_SURFACE"},
                 {TEMP_SURFACE, "TEMP_SURFACE"},       {CACHE_SURFACE, "CACHE_SURFACE"},
                 {AUTOMAP_SURFACE, "AUTOMAP_SURFACE"}, {SPRITE_SURFACE, "SPRITE_SURFACE"}};
    for (const auto& F : Fixed) {
        char Text[48];
        snprintf(Text, sizeof(Text), "%s[%s]==NULL", Table, F.Name);
        CHECK_TEXT(!Made(*this, F.Surface), Text);
    }
    CHECK_TEXT(ViewMode == WINDOWED_MODE || ViewMode == FULLSCREEN_MODE,
               "ViewMode==WINDOWED_MODE || ViewMode==FULLSCREEN_MODE", ViewMode);
}

void TDisplayEngine::WindowMoved() {
    if (ViewMode == WINDOWED_MODE && Window != nullptr) TakeClientRectangle(*Window, Rect, WindowRect);
}

bool TDisplayEngine::ChangeVideoMode(TWindow* NewWindow, int32_t VMode, const TDisplayMode* GMode,
                                     bool Force) {
    Renewed = false;
    switchViewMode(NewWindow, VMode, GMode, Force, Asked);
    RestoreSurfaces(VMode, GMode);
    return true;
}

int32_t TDisplayEngine::GetDisplayModes(std::unique_ptr<TDisplayMode[]>& List) {
    NumberOfDisplayModes = ListDisplayModes(DirectDraw.get(), List);
    return NumberOfDisplayModes;
}

TRectangle TDisplayEngine::GetSurfaceRect(int32_t Surface) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES - 1), RectCheck, Surface);
    const TPixelRect& R = Rect[Surface];
    return {R.Left, R.Top, R.width(), R.height()};
}

bool TDisplayEngine::SurfacesRenewed(int32_t Type) {
    CHECK_TEXT(Type >= 0 && Type < 3, "Type>=0 && Type<3", Type);
    return Renewed;
}

int32_t TDisplayEngine::GetSurfaceMemory(int32_t Surface) {
    CHECK_TEXT(In(Surface, 0, NUMBER_OF_SURFACES - 1), MemoryCheck, Surface);
    return SurfaceMemory[Surface];
}
