#include "app/QuillmarkApp.h"
#include "base/LargeAllocations.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Answered before the application object exists: these need no display.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(QuillmarkApp::Usage(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quillmark %s\n", QuillmarkApp::Version());
            return 0;
        }
    }
    ReturnLargeAllocationsWhenFreed();
    QuillmarkApp app(argc, argv);
    return app.Start();
}
