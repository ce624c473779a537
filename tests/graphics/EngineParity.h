// The three engines one after another on windows of SDL's offscreen driver (real GL through EGL and the
// opengl renderer), each surface read back the same way, and the comparisons of their pictures.
#pragma once

#include "platform/Window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

inline constexpr int32_t ENGINES[3] = {0, 1, 2}; // DirectDraw, OpenGL, Direct3D 9

// A rectangle of a surface as red << 16 | green << 8 | blue, rows top first.
struct TPicture {
    int32_t Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t at(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// One engine made current in the engine module on a window of its own, with its surfaces for a windowed
// display of Bits bits per pixel (the software engine draws in that depth; the others keep 8 bits per channel
// and only what they show is reduced). Without the offscreen driver, a GL context or the opengl renderer the
// constructor throws: nothing is skipped.
class TParityEngine {
public:
    TParityEngine(int32_t Engine, int32_t Bits, int32_t Width = 640, int32_t Height = 480);
    ~TParityEngine();
    TWindow* window() { return Window.get(); }
    // A rectangle of a surface as the engine holds it, 5-6-5 widened by repeating the top bits.
    TPicture read(int32_t Surface, int32_t x, int32_t y, int32_t Width, int32_t Height);

private:
    std::unique_ptr<TWindow> Window;
    int32_t Engine;
};

// A picture as a 5-6-5 display shows it: each channel cut to its top 5 or 6 bits, then widened again.
TPicture ReducedTo565(const TPicture& Picture);

// The pixels in which two pictures of one size differ, and the largest difference of a channel.
struct TDifference {
    int32_t Pixels = 0, Largest = 0;
};
TDifference Compare(const TPicture& A, const TPicture& B);
// The same, counted only where Inside answers true.
TDifference Compare(const TPicture& A, const TPicture& B,
                    const std::function<bool(int32_t, int32_t)>& Inside);

// Writes a picture as a PPM file for a person to look at.
void WritePpm(const std::string& Name, const TPicture& Picture);
