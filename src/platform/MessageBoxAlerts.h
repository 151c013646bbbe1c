#pragma once

#include "platform/Alerts.h"

// The alerts the user sees: application-modal message boxes and the desktop's beep.
// Their texts often hold a server's name, so they are shown as plain text: a message
// box renders text that looks like HTML, images from local files included.
class MessageBoxAlerts : public Alerts {
public:
    Answer runAlert(const QString& title, const QString& message, const QString& defaultButton,
                    const QString& alternateButton, const QString& otherButton) override;
    void beep() override;
    void runUnaskedAlert(const QString& title, const QString& message, const QString& button) override;
};
