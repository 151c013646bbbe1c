#include "MainWindowFixture.h"

#include "app/NewModifyWindow.h"

#include "ui_NewModifyWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

// Addresses entered as a user enters them: typed into the new-server sheet, pasted
// from the clipboard through the Edit menu, dropped from another program.
class AddressEntry : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        startWith({server("Alpha", "10.0.0.1:28960")});
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The favourites' addresses, in order, one blank between them.
    std::string addresses() const { return favouriteAddresses().join(u' ').toStdString(); }
    Ui::NewModifyWindow& sheet() const { return window->newModifyWindow().controls(); }

    // Opens the sheet with the new-server button and types over the address pattern.
    void typeNewAddress(const QString& address) const
    {
        QTest::mouseClick(&control<QPushButton>("newServerButton"), Qt::LeftButton);
        while (QApplication::activeWindow() != &window->newModifyWindow())
            QTest::qWait(5);
        QLineEdit& field = *sheet().nmIpAndPort;
        ASSERT_TRUE(field.hasFocus());
        QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&field, address);
        ASSERT_EQ(field.text().toStdString(), address.toStdString());
    }

    void paste(const QString& text) const
    {
        QGuiApplication::clipboard()->setText(text);
        control<QAction>("paste").trigger();
    }
};

TEST_F(AddressEntry, theSheetTellsWhyItRefusesAnAddressAndStaysOpen)
{
    const QString badPort = QStringLiteral("Bad argument in the port number");
    const QString badAddress = QStringLiteral("Bad argument(s) in the ip adress");
    const std::pair<QString, QString> refused[] = {
        {"abc.def.ghi.jkl:28960junk", badPort},
        {"10.0.0.2:28960:7", badPort},
        {"10.0.0.2: 28960", badPort},
        {"10.0.2:28960", "Missing argument(s) in the ip adress"},
        {"10.0.0.2.5:28960", badAddress},
        {"10.0.0.256:28960", badAddress},
        {"10.0.0.2 :28960", badAddress},
        {"lorem ipsum ;;; 999.1.1.1:5", badAddress},
    };
    for (const auto& [typed, message] : refused) {
        typeNewAddress(typed);
        QTest::keyClick(sheet().nmIpAndPort, Qt::Key_Return);
        EXPECT_EQ(sheet().nmErrorMessage->text().toStdString(), message.toStdString());
        EXPECT_TRUE(window->newModifyWindow().isVisible());
        QTest::keyClick(sheet().nmIpAndPort, Qt::Key_Escape);
        EXPECT_FALSE(window->newModifyWindow().isVisible());
    }
    EXPECT_EQ(addresses(), "10.0.0.1:28960");

    typeNewAddress("10.0.0.02:028960");
    QTest::mouseClick(sheet().okButton, Qt::LeftButton);
    EXPECT_FALSE(window->newModifyWindow().isVisible());
    typeNewAddress("cod4.example.org:28960");
    QTest::keyClick(sheet().nmIpAndPort, Qt::Key_Return);
    EXPECT_EQ(addresses(), "10.0.0.1:28960 10.0.0.02:028960 cod4.example.org:28960") << "host names stay as typed";
}

TEST_F(AddressEntry, pastedOrDroppedTextIsTakenOnlyWhenItIsAnAddress)
{
    for (const char* text : {"lorem ipsum \x01\x02 ;;; 999.1.1.1:5\n...", "abc.def.ghi.jkl:28960junk",
                             "10.0.0.2:28960\x01", "10.0.0.2:28960 10.0.0.3:28960", "-bad-.example:28960"}) {
        EXPECT_FALSE(dropText(QString::fromLatin1(text))) << text;
        paste(QString::fromLatin1(text));
    }
    EXPECT_EQ(addresses(), "10.0.0.1:28960");
    EXPECT_FALSE(controller->listOfServersModified());

    paste("10.0.0.2:28960\n");
    EXPECT_TRUE(dropText(" 10.0.0.3:28960"));
    EXPECT_TRUE(dropText("localhost:28960"));
    EXPECT_EQ(addresses(), "10.0.0.1:28960 10.0.0.2:28960 10.0.0.3:28960 localhost:28960");
}

TEST_F(AddressEntry, theSheetChecksTheAddressAsItIsTypedAndStartsEmptyUnderItsPattern)
{
    QTest::mouseClick(&control<QPushButton>("newServerButton"), Qt::LeftButton);
    QLineEdit& field = *sheet().nmIpAndPort;
    const QLabel& message = *sheet().nmErrorMessage;
    EXPECT_EQ(field.text(), "");
    EXPECT_EQ(field.placeholderText(), "xxx.xxx.xxx.xxx:xxxxx");
    const std::pair<const char*, QString> steps[] = {
        {"10.0.0.9", "No port specified"},
        {":", "Bad argument in the port number"},
        {"27960", ""},
        {"x", "Bad argument in the port number"},
    };
    for (const auto& [typed, expected] : steps) {
        QTest::keyClicks(&field, typed);
        EXPECT_EQ(message.text(), expected) << "after " << typed;
    }
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(message.text(), "") << "valid again";
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Delete);
    EXPECT_EQ(message.text(), "") << "an empty field is not yet wrong";
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(message.text(), "No port specified");
    EXPECT_TRUE(window->newModifyWindow().isVisible());
    QTest::keyClicks(&field, "10.0.0.9:27960");
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(addresses(), "10.0.0.1:28960 10.0.0.9:27960");
}
