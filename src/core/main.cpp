// Process entry of Arvena3: one copy per user desktop, then the start window,
// whose timer runs the start-up.
#include "core/platform/singleinstance.h"
#include "core/startup/program.h"

int main(int argc, char **argv)
{
    ArvenaApplication app(argc, argv);

    platform::SingleInstance instance;
    if (!instance.becomePrimary()) {
        instance.askPrimaryToComeForward();
        return 0;
    }
    return RunInteractive(instance);
}
