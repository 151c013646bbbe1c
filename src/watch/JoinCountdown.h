#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>

class QLabel;

// Asks before a watch rule joins a server: counts the seconds down, joins when it
// reaches zero or at once on "Join now", and joins nothing when cancelled (Cancel,
// Escape, or closing it).
class JoinCountdown : public QDialog {
    Q_OBJECT
public:
    static constexpr int defaultSeconds = 10;

    JoinCountdown(const QString& serverName, int seconds, QWidget* parent = nullptr);

    int secondsLeft() const { return left; }

signals:
    // The countdown ran out, or the user chose to join now.
    void joinNow();

private:
    void tick();
    void showSecondsLeft();
    void join();

    const QString serverName;
    QLabel* message = nullptr;
    QTimer clock;
    int left;
};
