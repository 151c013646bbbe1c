#include "support/RecordingDesktop.h"

QString RecordingDesktop::applicationPath(const QString& identifier)
{
    std::lock_guard guard(lock);
    return applications.value(identifier);
}

bool RecordingDesktop::startDetached(const QString& program, const QStringList& arguments)
{
    std::lock_guard guard(lock);
    startedPrograms.append({program, arguments});
    return !failing;
}

bool RecordingDesktop::performService(const QString& service, const QString& text)
{
    std::lock_guard guard(lock);
    performedServices.append({service, text});
    return !failing;
}

void RecordingDesktop::installApplication(const QString& identifier, const QString& path)
{
    std::lock_guard guard(lock);
    applications.insert(identifier, path);
}

QList<RecordingDesktop::Started> RecordingDesktop::started() const
{
    std::lock_guard guard(lock);
    return startedPrograms;
}

QList<RecordingDesktop::Performed> RecordingDesktop::performed() const
{
    std::lock_guard guard(lock);
    return performedServices;
}

void RecordingDesktop::failEverything()
{
    std::lock_guard guard(lock);
    failing = true;
}

RecordingDesktop& RecordingDesktop::install()
{
    auto recorder = std::make_unique<RecordingDesktop>();
    RecordingDesktop& installed = *recorder;
    Desktop::install(std::move(recorder));
    return installed;
}
