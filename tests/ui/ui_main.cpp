// The window tests' program: the windows run on Qt's offscreen platform, so no display is needed.
#include "window_driver.h"

int main(int argc, char** argv) {
    return ui_test::runWindowTests(argc, argv);
}
