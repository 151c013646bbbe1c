#include "platform/MessageBoxAlerts.h"

#include <QAbstractButton>
#include <QLineEdit>
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

// An alert that comes from a network exchange while the user types into a field: the
// keys typed on after it showed neither answer it nor reach the field, a click does.
TEST(MessageBoxAlertsTest, anUnaskedAlertTakesNoKeyTypedOnAndAClickDismissesIt)
{
    QLineEdit field;
    field.show();
    QApplication::setActiveWindow(&field);
    field.setFocus();
    bool shownAfterTheKeys = false;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        format = box->textFormat();
        // The keys reach the box's window as the desktop delivers them.
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_O, Qt::Key_K})
            QTest::keyClick(box->windowHandle(), key);
        shownAfterTheKeys = box->isVisible();
        QTest::mouseClick(box->buttons().first(), Qt::LeftButton);
    });
    MessageBoxAlerts messageBoxes;
    messageBoxes.runUnaskedAlert("Wrong Rcon Password", "Actual password has been deleted", "OK");
    EXPECT_TRUE(shownAfterTheKeys);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_TRUE(field.text().isEmpty());
}
