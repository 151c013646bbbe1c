#pragma once

#include <functional>
#include <memory>
#include <mutex>

// A process-wide object made on first use and replaceable as a whole: the seams to
// the desktop (alerts, installed games, the preference store) use one each, so that
// tests can install recorders or private stores. Safe to use from any thread.
template <class Interface>
class ReplaceableInstance {
public:
    using Maker = std::function<std::unique_ptr<Interface>()>;

    explicit ReplaceableInstance(Maker makeDefault)
        : makeDefault(std::move(makeDefault))
    {
    }

    Interface& current()
    {
        std::lock_guard guard(lock);
        if (!instance)
            instance = makeDefault();
        return *instance;
    }

    void install(std::unique_ptr<Interface> replacement)
    {
        std::lock_guard guard(lock);
        instance = std::move(replacement);
    }

private:
    std::mutex lock;
    Maker makeDefault;
    std::unique_ptr<Interface> instance;
};
