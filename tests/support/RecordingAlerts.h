#pragma once

#include "platform/Alerts.h"

#include <QList>
#include <QString>

#include <functional>
#include <mutex>

// Records every alert and beep and answers alerts with scripted buttons (the default
// button when nothing is scripted). Safe to call from any thread.
class RecordingAlerts : public Alerts {
public:
    struct Shown {
        QString title;
        QString message;
        QString defaultButton;
        QString alternateButton;
        // Shown unasked: only a click dismisses it.
        bool unasked = false;
    };

    Answer runAlert(const QString& title, const QString& message, const QString& defaultButton,
                    const QString& alternateButton, const QString& otherButton) override;
    void beep() override;
    void runUnaskedAlert(const QString& title, const QString& message, const QString& button) override;

    QList<Shown> shown() const;
    int beeps() const;
    void answerNext(Answer answer);
    // Runs the check on the UI thread each time an alert shows, before it is answered.
    void whileShown(std::function<void(const Shown&)> check);
    void clear();

    // Installs a new recorder as the process's alerts and returns it.
    static RecordingAlerts& install();

private:
    Answer record(const Shown& shown);

    mutable std::mutex lock;
    QList<Shown> alerts;
    QList<Answer> scripted;
    std::function<void(const Shown&)> checkWhileShown;
    int beepCount = 0;
};
