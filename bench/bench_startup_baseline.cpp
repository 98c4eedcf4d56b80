// The start-up benchmark's baseline as a program of its own, linked against Qt Widgets only:
// prints the nanoseconds from its start to its first painted frame, then ends.
#include "BaselineWindow.h"

#include <cstdio>

int main(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    baseline::reportFrame = [](qint64) {
        std::puts("first frame");
        std::fflush(stdout);
    };
    return baseline::baselineWindowToFirstFrame() < 0 ? 1 : 0;
}
