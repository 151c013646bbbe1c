#include "platform/MessageBoxAlerts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// The message box the user answers: each way of dismissing it, as the alert's answer.
TEST(MessageBoxAlertsTest, escapingOrClosingAChoiceChoosesNoneOfItsButtons)
{
    const auto key = [](Qt::Key pressed) { return [pressed](QMessageBox& box) { QTest::keyClick(&box, pressed); }; };
    const auto clickOn = [](const QString& title) {
        return [title](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons())
                if (button->text() == title)
                    QTest::mouseClick(button, Qt::LeftButton);
        };
    };
    struct Case {
        QString alternateButton;
        std::function<void(QMessageBox&)> answer;
        Alerts::Answer expected;
    };
    const QList<Case> cases = {
        {"No", key(Qt::Key_Escape), Alerts::Cancelled},
        {"No", [](QMessageBox& box) { box.close(); }, Alerts::Cancelled},
        {"No", key(Qt::Key_Return), Alerts::DefaultButton},
        {"No", clickOn("No"), Alerts::AlternateButton},
        {"", key(Qt::Key_Escape), Alerts::DefaultButton},
    };
    MessageBoxAlerts messageBoxes;
    Alerts& alerts = messageBoxes;
    for (const Case& test : cases) {
        QTimer::singleShot(0, [&test] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            test.answer(*box);
        });
        EXPECT_EQ(alerts.runAlert("Modified list of servers", "Do you want to save the new list ?", "Yes",
                                  test.alternateButton),
                  test.expected);
    }
}
