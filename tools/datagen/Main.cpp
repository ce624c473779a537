// pellarune-datagen: writes Ebrun.dat, Ebrun.spr and Ebrun.pic from the generator's own art.
#include "tools/datagen/ContactSheet.h"
#include "tools/datagen/DataSet.h"
#include "tools/datagen/FuzzSeeds.h"
#include "tools/datagen/Png.h"

#include "foundation/Exception.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

const char* USAGE =
    "usage: pellarune-datagen [--real-size] [--broken DIR] [--contact-sheet FILE.png] [--fuzz-seeds DIR]\n"
    "                         [--font-dir DIR] OUTDIR\n"
    "  writes Ebrun.dat, Ebrun.spr and Ebrun.pic into OUTDIR (created if missing)\n"
    "  --real-size      about 5,000 object types and 20,000 sprites, for benchmarks\n"
    "  --broken DIR     also write malformed variants of the three files into DIR\n"
    "  --contact-sheet  also write a PNG of the skins, fonts and a sample of sprites\n"
    "  --fuzz-seeds DIR also write small cuts of the three files as fuzz seeds into DIR/objects,\n"
    "                   DIR/sprites and DIR/pictures\n"
    "  --font-dir DIR   where DejaVuSans.ttf, DejaVuSans-Bold.ttf and DejaVuSerif-Bold.ttf lie\n";

struct TArguments {
    TDataOptions Options;
    std::string OutDir, BrokenDir, SheetFile, SeedDir;
};

bool Parse(int argc, char** argv, TArguments& Args) {
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        bool HasValue = i + 1 < argc;
        if (a == "--real-size") {
            Args.Options.RealSize = true;
        } else if (a == "--broken" && HasValue) {
            Args.BrokenDir = argv[++i];
        } else if (a == "--contact-sheet" && HasValue) {
            Args.SheetFile = argv[++i];
        } else if (a == "--fuzz-seeds" && HasValue) {
            Args.SeedDir = argv[++i];
        } else if (a == "--font-dir" && HasValue) {
            Args.Options.Fonts = FontFilesIn(argv[++i]);
        } else if (a.rfind("--", 0) != 0 && Args.OutDir.empty()) {
            Args.OutDir = a;
        } else {
            return false;
        }
    }
    return !Args.OutDir.empty();
}

void MakeDirectory(const std::string& Directory) {
    if (mkdir(Directory.c_str(), 0755) != 0) {
        struct stat Info;
        if (stat(Directory.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode))
            throw TMyException(EBRUN_SOURCE_NAME, __LINE__, "failed to create directory", "", 0, "", 0,
                               Directory);
    }
}

} // namespace

int main(int argc, char** argv) {
    TArguments Args;
    if (!Parse(argc, argv, Args)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    try {
        TDataSet Set = BuildDataSet(Args.Options);
        MakeDirectory(Args.OutDir);
        WriteDataFiles(EncodeDataSet(Set), Args.OutDir);
        if (!Args.BrokenDir.empty()) {
            MakeDirectory(Args.BrokenDir);
            WriteBrokenVariants(Set, Args.BrokenDir);
        }
        if (!Args.SeedDir.empty()) {
            for (const char* Sub : {"", "/objects", "/sprites", "/pictures"})
                MakeDirectory(Args.SeedDir + Sub);
            WriteFuzzSeeds(Set, Args.SeedDir);
        }
        if (!Args.SheetFile.empty())
            WriteBytesToFile(Args.SheetFile, EncodePng(BuildContactSheet(Set), TColor{255, 0, 255}));
    } catch (const TMyException& E) {
        std::fprintf(stderr, "pellarune-datagen: %s\n", E.getText().c_str());
        return 1;
    }
    return 0;
}
