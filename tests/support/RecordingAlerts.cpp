#include "support/RecordingAlerts.h"

Alerts::Answer RecordingAlerts::runAlert(const QString& title, const QString& message, const QString& defaultButton,
                                         const QString& alternateButton, const QString&)
{
    return record({title, message, defaultButton, alternateButton});
}

void RecordingAlerts::runUnaskedAlert(const QString& title, const QString& message, const QString& button)
{
    record({title, message, button, {}, true});
}

Alerts::Answer RecordingAlerts::record(const Shown& shown)
{
    std::function<void(const Shown&)> check;
    {
        std::lock_guard guard(lock);
        alerts.append(shown);
        check = checkWhileShown;
    }
    if (check)
        check(shown);
    std::lock_guard guard(lock);
    return scripted.isEmpty() ? DefaultButton : scripted.takeFirst();
}

void RecordingAlerts::beep()
{
    std::lock_guard guard(lock);
    ++beepCount;
}

QList<RecordingAlerts::Shown> RecordingAlerts::shown() const
{
    std::lock_guard guard(lock);
    return alerts;
}

int RecordingAlerts::beeps() const
{
    std::lock_guard guard(lock);
    return beepCount;
}

void RecordingAlerts::answerNext(Answer answer)
{
    std::lock_guard guard(lock);
    scripted.append(answer);
}

void RecordingAlerts::whileShown(std::function<void(const Shown&)> check)
{
    std::lock_guard guard(lock);
    checkWhileShown = std::move(check);
}

void RecordingAlerts::clear()
{
    std::lock_guard guard(lock);
    alerts.clear();
    scripted.clear();
    beepCount = 0;
}

RecordingAlerts& RecordingAlerts::install()
{
    auto recorder = std::make_unique<RecordingAlerts>();
    RecordingAlerts& installed = *recorder;
    Alerts::install(std::move(recorder));
    return installed;
}
