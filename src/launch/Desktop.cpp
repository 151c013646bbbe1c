#include "launch/Desktop.h"

#include "launch/LinuxDesktop.h"

#include <mutex>

namespace {

std::mutex currentLock;
std::unique_ptr<Desktop> currentDesktop;

}  // namespace

Desktop& Desktop::current()
{
    std::lock_guard guard(currentLock);
    if (!currentDesktop)
        currentDesktop = std::make_unique<LinuxDesktop>();
    return *currentDesktop;
}

void Desktop::install(std::unique_ptr<Desktop> desktop)
{
    std::lock_guard guard(currentLock);
    currentDesktop = std::move(desktop);
}
