// The clipboard guard: a copied text that holds a web or network address is held back behind the link
// warning until the user confirms it.
#pragma once

#include <cstdint>

// Copies Length bytes of Text (checked "Length>=0"). A text without a link goes to the clipboard at once and
// the clipboard's answer is returned; a text with one is held and the link-warning handler's answer is
// returned.
bool CopyToClipboard(const char* Text, int32_t Length);
bool CopyTextToClipboard(const char* text); // checks "text!=NULL"
// After the user confirmed the warning: the held text to the clipboard; checks that a text is held.
bool CopyTaintedClipboardText();
// True when the pattern finds a web or network address in the lower-cased Text.
bool ContainsLink(const char* Text);

// Part of InitStatus: compiles the link pattern. ExitClipboardGuard frees it and the held text.
void InitClipboardGuard();
void ExitClipboardGuard();
