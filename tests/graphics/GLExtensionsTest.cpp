// The extension loader against a driver of the test's own: the extension and version texts, whole-word
// matching, the request's separators and entry points that the driver cannot give.
#include "graphics/glh_extensions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The fake driver: its texts, and entry points for every name except the one listed as missing.
struct {
    std::string Extensions, Version;
    std::string Missing;
    int32_t Fetches = 0;
} Driver;

void Dummy() {}

const char* FakeString(TGLText Which) {
    return Which == TGLText::Extensions ? Driver.Extensions.c_str()
           : Which == TGLText::Version  ? Driver.Version.c_str()
                                        : "fake";
}

TGLProc FakeProc(const char* Name) {
    Driver.Fetches++;
    return Driver.Missing == Name ? nullptr : Dummy;
}

class ExtensionLoader : public ::testing::Test {
protected:
    void SetUp() override {
        Driver.Extensions = "GL_EXT_bgra GL_EXT_framebuffer_object GL_ARB_multitexture";
        Driver.Version = "2.1 Mesa";
        Driver.Missing.clear();
        Driver.Fetches = 0;
        SetExtensionSource({FakeString, FakeProc});
    }
    void TearDown() override {
        ExitExtensions();
        SetExtensionSource(TExtensionSource());
    }
};

} // namespace

TEST_F(ExtensionLoader, NullRequestBuildsTheTextAndAnswersOne) {
    EXPECT_FALSE(IsExtensionSupported("GL_EXT_bgra")); // nothing read yet
    EXPECT_EQ(InitExtensions(nullptr), 1);
    EXPECT_TRUE(IsExtensionSupported("GL_EXT_bgra"));
    // The text is kept until ExitExtensions, then read again from the context then current.
    Driver.Extensions = "GL_EXT_packed_pixels";
    EXPECT_EQ(InitExtensions("GL_EXT_packed_pixels"), 0);
    ExitExtensions();
    EXPECT_EQ(InitExtensions("GL_EXT_packed_pixels"), 1);
}

TEST_F(ExtensionLoader, RequestSeparatorsAreBlanksTabsAndLineFeeds) {
    EXPECT_EQ(InitExtensions("  GL_EXT_bgra\tGL_EXT_framebuffer_object\n"), 1);
    EXPECT_EQ(Driver.Fetches, 17); // every entry point of the framebuffer object
    EXPECT_EQ(GetExtensionEntryPoint("glBindFramebufferEXT"), Dummy);
    EXPECT_EQ(InitExtensions(""), 1);
}

TEST_F(ExtensionLoader, NamesMatchOnlyAsWholeWords) {
    Driver.Extensions = "GL_EXT_framebuffer_objectX XGL_EXT_bgra";
    InitExtensions(nullptr);
    EXPECT_FALSE(IsExtensionSupported("GL_EXT_framebuffer_object"));
    EXPECT_FALSE(IsExtensionSupported("GL_EXT_bgra"));
    EXPECT_TRUE(IsExtensionSupported("XGL_EXT_bgra")); // the last name is followed by the added blank
}

TEST_F(ExtensionLoader, EveryNameIsTriedAndAnyFailureAnswersZero) {
    // Listed by the context but unknown to the loader.
    EXPECT_EQ(InitExtensions("GL_ARB_multitexture"), 0);
    // Unsupported first: the next name is still loaded.
    EXPECT_EQ(InitExtensions("GL_NV_fence GL_EXT_framebuffer_object"), 0);
    EXPECT_EQ(Driver.Fetches, 17);
    EXPECT_EQ(LoadExtension(nullptr), 0);
    EXPECT_EQ(LoadExtension("GL_EXT_bgra"), 1); // known, without entry points
}

TEST_F(ExtensionLoader, AMissingEntryPointFailsTheLoadAndStaysEmpty) {
    Driver.Missing = "glCheckFramebufferStatusEXT";
    EXPECT_EQ(InitExtensions("GL_EXT_framebuffer_object "), 0);
    EXPECT_EQ(GetExtensionEntryPoint("glCheckFramebufferStatusEXT"), nullptr);
    EXPECT_EQ(Driver.Fetches, 11); // the load ends at the missing one
    Driver.Missing.clear();
    EXPECT_EQ(InitExtensions("GL_EXT_framebuffer_object "), 1);
    EXPECT_EQ(GetExtensionEntryPoint("glCheckFramebufferStatusEXT"), Dummy);
}

TEST_F(ExtensionLoader, VersionNamesFollowTheVersionText) {
    Driver.Version = "1.2.1";
    InitExtensions(nullptr);
    EXPECT_TRUE(IsExtensionSupported("GL_VERSION_1_2"));
    EXPECT_FALSE(IsExtensionSupported("GL_VERSION_1_3"));
    Driver.Version = "1.1";
    EXPECT_FALSE(IsExtensionSupported("GL_VERSION_1_2"));
    Driver.Version = "4.5 (Compatibility Profile) Mesa";
    EXPECT_TRUE(IsExtensionSupported("GL_VERSION_1_5"));
}
