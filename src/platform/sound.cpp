#include "platform/sound.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<int> beeps{0};
std::atomic<void (*)()> beepHandler{nullptr};
} // namespace

void beep()
{
    ++beeps;
    if (auto handler = beepHandler.load())
        handler();
}

void setBeepHandler(void (*handler)())
{
    beepHandler.store(handler);
}

int beepCount()
{
    return beeps.load();
}

} // namespace platform
