#include "app/QuillmarkApp.h"
#include "base/LargeAllocations.h"
#include "base/StepTimes.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    StepTimes::Begin();
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
    int status = 0;
    {
        QuillmarkApp app(argc, argv);
        StepTimes::Mark("application object made: display connected, fonts found");
        status = app.Start();
        StepTimes::Mark("window destroyed");
    }
    StepTimes::Mark("application ended");
    return status;
}
