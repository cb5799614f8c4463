// skin-check SOURCE: loads every skin file of a skin folder, a ZIP archive or
// a program holding the "ZIP" resource 200, and prints one line per file.
#include <cstdio>
#include <string>

#include "tools/skin-check/skin_check.h"
#include "ui/core/text_convert.h"
#include "ui/core/ui_string.h"

namespace {

int Usage() {
    std::fputs(
        "usage: skin-check SOURCE\n"
        "  SOURCE: a skin folder, a skin ZIP archive, or a program holding the \"ZIP\" resource 200.\n"
        "  Every XML file is parsed and every image (png, jpg, jpeg, bmp, gif) decoded; one line per\n"
        "  file: \"NAME: ok\" or \"NAME: \" and the error. Exit 0 when everything loads, 1 otherwise.\n",
        stderr);
    return 2;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return Usage();
    return skin_check::CheckSkinSource(argv[1], stdout);
}
#else
int main(int argc, char** argv) {
    if (argc != 2) return Usage();
    std::string arg = argv[1];
    std::u16string wide(arg.size() + 1, u'\0');
    wide.resize(SkinUI::DecodeUtf8(arg.data(), arg.size(), &wide[0]));
    return skin_check::CheckSkinSource(wide.c_str(), stdout);
}
#endif
