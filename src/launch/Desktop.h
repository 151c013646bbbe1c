#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The desktop services Zorvel relies on: finding an installed game application,
// invoking a service that a game application offers, and starting a program. The
// application uses the Linux desktop; tests install a recorder.
class Desktop {
public:
    virtual ~Desktop() = default;

    // The path of the game application known by the identifier (see
    // GameApplications.h), or an empty text when it is not installed.
    virtual QString applicationPath(const QString& identifier) = 0;
    // Starts the program with the arguments, detached from Zorvel; false when it
    // could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // Invokes the named service of a game application (see GameApplications.h) with
    // the text as its input; false when the service did not run.
    virtual bool performService(const QString& service, const QString& text) = 0;

    static Desktop& current();
    static void install(std::unique_ptr<Desktop> desktop);
};
