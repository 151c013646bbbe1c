#include "launch/Desktop.h"

#include "launch/LinuxDesktop.h"

#include "platform/ReplaceableInstance.h"

namespace {

ReplaceableInstance<Desktop>& theDesktop()
{
    static ReplaceableInstance<Desktop> desktop([] { return std::make_unique<LinuxDesktop>(); });
    return desktop;
}

}  // namespace

Desktop& Desktop::current()
{
    return theDesktop().current();
}

void Desktop::install(std::unique_ptr<Desktop> desktop)
{
    theDesktop().install(std::move(desktop));
}
