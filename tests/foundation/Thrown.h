// Test helpers: the text of the exception a call throws, and that text without its leading location.
#pragma once

#include "foundation/Exception.h"

#include <string>

// The TMyException text thrown by Body, or "no exception".
template <typename F> std::string ThrownText(F&& Body) {
    try {
        Body();
    } catch (const TMyException& E) {
        return E.getText();
    } catch (...) {
        return "other exception";
    }
    return "no exception";
}

// Text behind "<File> <line>: " when the text starts so, else a marker that makes the comparison fail.
inline std::string AfterLocation(const std::string& Text, const std::string& File) {
    if (Text.rfind(File + " ", 0) != 0) return "wrong location: " + Text;
    size_t i = File.size() + 1;
    size_t Digits = i;
    while (i < Text.size() && isdigit(static_cast<unsigned char>(Text[i])))
        i++;
    if (i == Digits || Text.compare(i, 2, ": ") != 0) return "wrong location: " + Text;
    return Text.substr(i + 2);
}

// The text behind the location of what Body throws from File.
template <typename F> std::string ThrownFrom(const std::string& File, F&& Body) {
    return AfterLocation(ThrownText(Body), File);
}
