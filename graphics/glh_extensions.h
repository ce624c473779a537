// The OpenGL extension loader: whether extensions are available in the current context, and their entry
// points fetched into the loader's table.
#pragma once

#include "platform/GLContext.h"

#include <cstdint>

// Where the loader reads the context's texts and entry points; tests put their own driver here.
struct TExtensionSource {
    const char* (*GetString)(TGLText Which) = GLGetString;
    TGLProc (*GetProcAddress)(const char* Name) = GLGetProcAddress;
};
// nullptr-free source; a default-made one is the real driver.
void SetExtensionSource(const TExtensionSource& Source);

// Requested: names separated by blanks, tabs or line feeds, or nullptr. Builds the context's extension text
// when it is not there. 1 when every requested name is supported and all its entry points were fetched (or
// Requested is nullptr), 0 when any is not; every name is tried.
int32_t InitExtensions(const char* Requested);
// The four version names "GL_VERSION_1_2" to "GL_VERSION_1_5" against the context's version text; any other
// name against the extension text, as a whole word.
bool IsExtensionSupported(const char* Name);
// Fetches the entry points of a known extension in order: 1 when all were found (or it has none), 0 when one
// is missing, the name is unknown or nullptr.
int32_t LoadExtension(const char* Name);
// Frees the extension text; the next InitExtensions builds it in the context then current.
void ExitExtensions();

// The entry point of that name as last fetched; nullptr when not fetched or missing.
TGLProc GetExtensionEntryPoint(const char* Name);
