// The seamed program runs as the first instance: straight into the browser's
// start-up, with the browser linked in rather than loaded from the program
// folder, so that the seams of SeamedStart.cpp are the ones it uses.
#include "BrowserMain.h"

int main(int argc, char **argv)
{
    return TessivaneRun(argc, argv);
}
