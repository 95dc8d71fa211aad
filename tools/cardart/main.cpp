// Paints every picture of the greeting card into a data root:
//   cardart <data root> [font folder]
// The pictures come out the same on every run.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/cardart/Art.h"

namespace {

bool Save(const Canvas& canvas, const std::string& root, const std::string& name) {
    std::filesystem::path path = std::filesystem::path(root) / name;
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    if (canvas.Save(path.string())) return true;
    std::fprintf(stderr, "cardart: cannot write %s\n", path.string().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cardart <data root> [font folder]\n");
        return 2;
    }
    std::string root = argv[1];
    const char* fonts = argc > 2 ? argv[2] : "/usr/share/fonts/truetype/dejavu";
    bool ok = Save(PaintSky(), root, "bg/skysong.png");
    ok = Save(PaintSplash(fonts), root, "bg/intro.png") && ok;
    ok = Save(PaintBranches(2, false), root, "fg/bg2.png") && ok;
    ok = Save(PaintBranches(3, true), root, "fg/bg1.png") && ok;
    ok = Save(PaintFlake(), root, "snow/snow.png") && ok;
    return ok ? 0 : 1;
}
