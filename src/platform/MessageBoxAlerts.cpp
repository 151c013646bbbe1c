#include "platform/MessageBoxAlerts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

Alerts::Answer MessageBoxAlerts::runAlert(const QString& title, const QString& message,
                                          const QString& defaultButton, const QString& alternateButton,
                                          const QString& otherButton)
{
    QMessageBox box(QMessageBox::NoIcon, title, message, QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    QPushButton* primary = box.addButton(defaultButton, QMessageBox::AcceptRole);
    QPushButton* alternate = alternateButton.isEmpty() ? nullptr
                                                       : box.addButton(alternateButton, QMessageBox::RejectRole);
    QPushButton* other = otherButton.isEmpty() ? nullptr : box.addButton(otherButton, QMessageBox::DestructiveRole);
    box.setDefaultButton(primary);
    // With a choice to make, Escape or closing the box chooses none of the buttons:
    // an unseen one stands for that. A lone button is the box's way out.
    QPushButton* none = nullptr;
    if (alternate || other) {
        none = box.addButton(QMessageBox::Cancel);
        none->hide();
    }
    box.setEscapeButton(none ? none : primary);
    box.exec();
    if (box.clickedButton() == primary)
        return DefaultButton;
    if (alternate && box.clickedButton() == alternate)
        return AlternateButton;
    if (other && box.clickedButton() == other)
        return OtherButton;
    return Cancelled;
}

void MessageBoxAlerts::runUnaskedAlert(const QString& title, const QString& message, const QString& button)
{
    QMessageBox box(QMessageBox::NoIcon, title, message, QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // Neither the default button of the box nor one that takes the focus: Enter and
    // the blank then press nothing. The box would make its first accepting button the
    // default one, so this one only closes it.
    QPushButton* only = box.addButton(button, QMessageBox::RejectRole);
    only->setAutoDefault(false);
    only->setFocusPolicy(Qt::NoFocus);
    box.setEscapeButton(only);
    box.exec();
}

void MessageBoxAlerts::beep()
{
    QApplication::beep();
}
