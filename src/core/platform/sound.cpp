#include "core/platform/sound.h"

#include <QApplication>

#include <atomic>

namespace platform {

namespace {
std::atomic<int> beeps{0};
}

void beep()
{
    ++beeps;
    QApplication::beep();
}

int beepCount()
{
    return beeps.load();
}

} // namespace platform
