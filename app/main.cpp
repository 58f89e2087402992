#include "app/QuillmarkApp.h"

int main(int argc, char** argv)
{
    QuillmarkApp app(argc, argv);
    app.Start();
    return 0;
}
