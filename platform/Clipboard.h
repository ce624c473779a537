// The system's text clipboard in UTF-8: SDL's while SDL's video subsystem runs, else one kept in memory.
#pragma once

#include <string>

// True when the clipboard holds text (an empty text counts only for the in-memory clipboard).
bool SystemClipboardHasText();
// The clipboard's text, or the empty string when it holds none; false when it cannot be read.
bool ReadSystemClipboard(std::string& Utf8);
// Replaces the clipboard's contents; false when the system refuses them.
bool WriteSystemClipboard(const std::string& Utf8);
