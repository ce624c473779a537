// The OpenGL extension loader: the context's extension text, the table of known extensions with their entry
// points, and the checks and loads of requested names.
#include "graphics/glh_extensions.h"

#include "foundation/Exception.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

namespace {

// The extensions this program knows, each with its entry points in the order they are fetched. Only the
// framebuffer object is used (it is the off-screen buffer); the others are name checks.
struct TKnownExtension {
    const char* Name;
    const char* const* EntryPoints;
    int32_t Count;
};

const char* const FramebufferObject[] = {
    "glIsRenderbufferEXT",          "glBindRenderbufferEXT",
    "glDeleteRenderbuffersEXT",     "glGenRenderbuffersEXT",
    "glRenderbufferStorageEXT",     "glGetRenderbufferParameterivEXT",
    "glIsFramebufferEXT",           "glBindFramebufferEXT",
    "glDeleteFramebuffersEXT",      "glGenFramebuffersEXT",
    "glCheckFramebufferStatusEXT",  "glFramebufferTexture1DEXT",
    "glFramebufferTexture2DEXT",    "glFramebufferTexture3DEXT",
    "glFramebufferRenderbufferEXT", "glGetFramebufferAttachmentParameterivEXT",
    "glGenerateMipmapEXT"};
constexpr int32_t FRAMEBUFFER_OBJECT_COUNT = sizeof(FramebufferObject) / sizeof(FramebufferObject[0]);

const TKnownExtension Known[] = {
    {"GL_EXT_bgra", nullptr, 0},
    {"GL_EXT_framebuffer_object", FramebufferObject, FRAMEBUFFER_OBJECT_COUNT},
    {"GL_EXT_packed_pixels", nullptr, 0},
};

// Module state: the extension text lives from the first InitExtensions to ExitExtensions; the entry points
// keep their last fetch for the run.
struct {
    TExtensionSource Source;
    std::string SystemExtensions; // empty until built
    TGLProc FramebufferObjectCalls[FRAMEBUFFER_OBJECT_COUNT] = {};
} Module;

TGLProc* PointersOf(const TKnownExtension& Extension) {
    return Extension.EntryPoints == FramebufferObject ? Module.FramebufferObjectCalls : nullptr;
}

void BuildSystemExtensions() {
    try {
        const char* Extensions = Module.Source.GetString(TGLText::Extensions);
        // Windows adds the window system's own list here; SDL's contexts have none beyond the GL text.
        Module.SystemExtensions.reserve(std::strlen(Extensions) + 3);
        Module.SystemExtensions.assign(Extensions);
        Module.SystemExtensions += ' ';
    } catch (const std::bad_alloc&) {
        printf("Error allocating memory in file %s, line %d\n", EBRUN_SOURCE_NAME, __LINE__);
        exit(-1);
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Whether the version text starts with a version 1.x below 1.Minor; any other text counts as new enough.
bool VersionBelow(const char* Version, int32_t Minor) {
    for (int32_t Older = 0; Older < Minor; Older++) {
        const char Prefix[4] = {'1', '.', static_cast<char>('0' + Older), 0};
        if (std::strncmp(Version, Prefix, 3) == 0) return true;
    }
    return false;
}

} // namespace

void SetExtensionSource(const TExtensionSource& Source) {
    Module.Source = Source;
    Module.SystemExtensions.clear();
}

bool IsExtensionSupported(const char* Name) {
    if (Name == nullptr) return false;
    static const char* const Versions[] = {"GL_VERSION_1_2", "GL_VERSION_1_3", "GL_VERSION_1_4",
                                           "GL_VERSION_1_5"};
    for (int32_t i = 0; i < 4; i++)
        if (std::strcmp(Name, Versions[i]) == 0)
            return !VersionBelow(Module.Source.GetString(TGLText::Version), 2 + i);
    // A whole word of the list: preceded by the start or a blank, followed by a blank.
    const std::string Word = std::string(Name) + ' ';
    for (size_t At = Module.SystemExtensions.find(Word); At != std::string::npos;
         At = Module.SystemExtensions.find(Word, At + 1))
        if (At == 0 || Module.SystemExtensions[At - 1] == ' ') return true;
    return false;
}

int32_t LoadExtension(const char* Name) {
    if (Name == nullptr) return 0;
    for (const TKnownExtension& Extension : Known) {
        if (std::strcmp(Name, Extension.Name) != 0) continue;
        TGLProc* Pointers = PointersOf(Extension);
        for (int32_t i = 0; i < Extension.Count; i++) {
            Pointers[i] = Module.Source.GetProcAddress(Extension.EntryPoints[i]);
            if (Pointers[i] == nullptr) return 0;
        }
        return 1;
    }
    return 0;
}

int32_t InitExtensions(const char* Requested) {
    if (Module.SystemExtensions.empty()) BuildSystemExtensions();
    if (Requested == nullptr) return 1;
    int32_t Result = 1;
    const std::string_view Text(Requested);
    size_t At = 0;
    while (At < Text.size()) {
        while (At < Text.size() && IsBlank(Text[At]))
            At++;
        size_t End = At;
        while (End < Text.size() && !IsBlank(Text[End]))
            End++;
        if (End == At) break;
        const std::string Name(Text.substr(At, End - At));
        if (!IsExtensionSupported(Name.c_str()) || !LoadExtension(Name.c_str())) Result = 0;
        At = End;
    }
    return Result;
}

void ExitExtensions() {
    Module.SystemExtensions.clear();
    Module.SystemExtensions.shrink_to_fit();
}

TGLProc GetExtensionEntryPoint(const char* Name) {
    for (int32_t i = 0; i < FRAMEBUFFER_OBJECT_COUNT; i++)
        if (std::strcmp(Name, FramebufferObject[i]) == 0) return Module.FramebufferObjectCalls[i];
    return nullptr;
}
