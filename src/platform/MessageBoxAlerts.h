#pragma once

#include "platform/Alerts.h"

// The alerts the user sees: application-modal message boxes and the desktop's beep.
class MessageBoxAlerts : public Alerts {
public:
    Answer runAlert(const QString& title, const QString& message, const QString& defaultButton,
                    const QString& alternateButton, const QString& otherButton) override;
    void beep() override;
};
