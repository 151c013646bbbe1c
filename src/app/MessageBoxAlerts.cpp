#include "app/MessageBoxAlerts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

Alerts::Answer MessageBoxAlerts::runAlert(const QString& title, const QString& message,
                                          const QString& defaultButton, const QString& alternateButton,
                                          const QString& otherButton)
{
    QMessageBox box(QMessageBox::NoIcon, title, message, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* primary = box.addButton(defaultButton, QMessageBox::AcceptRole);
    QPushButton* alternate = alternateButton.isEmpty() ? nullptr
                                                       : box.addButton(alternateButton, QMessageBox::RejectRole);
    if (!otherButton.isEmpty())
        box.addButton(otherButton, QMessageBox::DestructiveRole);
    box.setDefaultButton(primary);
    box.setEscapeButton(alternate ? alternate : primary);
    box.exec();
    if (box.clickedButton() == primary)
        return DefaultButton;
    return box.clickedButton() == alternate ? AlternateButton : OtherButton;
}

void MessageBoxAlerts::beep()
{
    QApplication::beep();
}
