#include "watch/JoinCountdown.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

JoinCountdown::JoinCountdown(const QString& serverName, int seconds, QWidget* parent)
    : QDialog(parent)
    , serverName(serverName)
    , clock(this)
    , left(seconds)
{
    setObjectName(QStringLiteral("JoinCountdown"));
    clock.setObjectName(QStringLiteral("countdownClock"));
    setWindowTitle(tr("Join"));
    auto* layout = new QVBoxLayout(this);
    message = new QLabel(this);
    message->setObjectName(QStringLiteral("countdownText"));
    message->setTextFormat(Qt::PlainText);
    layout->addWidget(message);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* joinButton = buttons->addButton(tr("&Join now"), QDialogButtonBox::AcceptRole);
    joinButton->setObjectName(QStringLiteral("joinNowButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelJoinButton"));
    // Cancel has the focus: an Enter meant for another window joins nothing.
    buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &JoinCountdown::join);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    clock.setInterval(1000);
    connect(&clock, &QTimer::timeout, this, &JoinCountdown::tick);
    connect(this, &QDialog::finished, &clock, &QTimer::stop);
    clock.start();
    showSecondsLeft();
}

void JoinCountdown::tick()
{
    if (--left <= 0)
        join();
    else
        showSecondsLeft();
}

void JoinCountdown::showSecondsLeft()
{
    message->setText(tr("Joining %1 in %2 s").arg(serverName).arg(left));
}

void JoinCountdown::join()
{
    clock.stop();
    accept();
    emit joinNow();
}
