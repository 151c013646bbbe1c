#include "MainWindowFixture.h"

#include "app/MasterScan.h"
#include "history/HistoryStore.h"
#include "launch/GameApplications.h"
#include "peers/GameServerPeer.h"
#include "platform/DBusNotifications.h"
#include "support/NotificationService.h"
#include "support/SessionBus.h"
#include "support/TestPreferences.h"
#include "watch/JoinCountdown.h"
#include "watch/WatchRuleStore.h"
#include "watch/WatchWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

namespace {

QString addressOf(const UdpPeer& peer)
{
    return QString::fromLatin1(peer.address());
}

int statusQueries(const UdpPeer& peer)
{
    return int(peer.receivedDatagrams().count(QByteArray("\xff\xff\xff\xffgetstatus")));
}

QByteArray status(const QByteArray& map, const QList<QByteArray>& players)
{
    QByteArray answer = "\\sv_hostname\\Watched\\gamename\\Call of Duty 2\\mapname\\" + map + "\\sv_maxclients\\4\n";
    for (const QByteArray& player : players)
        answer += "0 40 \"" + player + "\"\n";
    return GameServerPeer::statusDatagram(answer);
}

WatchRule onServer(WatchRule::Condition condition, const UdpPeer& server)
{
    WatchRule rule;
    rule.condition = condition;
    rule.scope = WatchRule::Scope::OneServer;
    rule.server = addressOf(server);
    rule.intervalSeconds = WatchRule::shortestIntervalSeconds;
    return rule;
}

QStringList bodiesOf(const QList<RecordingNotifications::Sent>& sent)
{
    QStringList bodies;
    for (const RecordingNotifications::Sent& each : sent)
        bodies.append(each.body);
    bodies.sort();
    return bodies;
}

WatchRule playerOn(const QString& server, const QString& player)
{
    WatchRule rule;
    rule.text = player;
    rule.scope = WatchRule::Scope::OneServer;
    rule.server = server;
    return rule;
}

}  // namespace

// The Watch window as the user drives it, and rules fed by simulated servers whose
// players and map change, through the refreshes of the favourites and the watch's
// own queries.
class WatchRules : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        TestPreferences::setTimeout(50000);
        desktop->installApplication(GameApplications::callOfDuty2, "/usr/games/cod2mp");
        peer.setStatusAnswer({status("mp_toujane", {"Al"})});
    }

    void startWatching(const QList<WatchRule>& rules)
    {
        WatchRuleStore::store(rules);
        startWith({server("Watched", addressOf(peer))});
    }

    // The watch asks a server it never asked at once, when it starts or gets a rule.
    void waitForTheFirstWatchQuery() const
    {
        while (statusQueries(peer) == 0 || !controller->watchRules().queriesIdle())
            QTest::qWait(5);
    }

    // Until each server got a status query and the watch's queries are over.
    void waitForTheWatchToAsk(const QList<const UdpPeer*>& servers) const
    {
        const auto asked = [](const UdpPeer* server) { return statusQueries(*server) > 0; };
        while (!std::all_of(servers.cbegin(), servers.cend(), asked) || !controller->watchRules().queriesIdle())
            QTest::qWait(5);
    }

    void refreshTheFavourite(const QList<QByteArray>& players)
    {
        peer.setStatusAnswer({status("mp_toujane", players)});
        select(0);
        clickButton("refreshServerButton");
    }

    WatchWindow& openWatchWindow() const
    {
        window->activateWindow();
        press(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (auto* watch = qobject_cast<WatchWindow*>(shown); watch && watch->isVisible())
                return *watch;
        }
        throw std::runtime_error("Ctrl+Shift+W showed no Watch window");
    }

    static QTableWidget& rulesTable(WatchWindow& watch) { return *watch.findChild<QTableWidget*>("watchRules"); }
    static QString cell(WatchWindow& watch, int row, int column)
    {
        const QTableWidgetItem* item = rulesTable(watch).item(row, column);
        return item ? item->text() : QString();
    }

    static JoinCountdown* countdown()
    {
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (auto* asking = qobject_cast<JoinCountdown*>(shown); asking && asking->isVisible())
                return asking;
        }
        return nullptr;
    }

    // How many of the server's answers the history holds from the watch's own queries,
    // once every answer recorded before is written.
    int answersRecordedByTheWatch(const UdpPeer& server) const
    {
        int count = -1;
        bool asked = false;
        controller->history().run(
            [&count, address = addressOf(server)](HistoryDatabase& database) {
                QSqlQuery query = database.select(
                    QStringLiteral("SELECT count(*) FROM answers JOIN servers ON servers.id = answers.server "
                                   "WHERE servers.address = ? AND answers.source = ?"),
                    {address, int(ServerAnswer::Source::Watch)});
                count = query.next() ? query.value(0).toInt() : -1;
            },
            controller.get(), [&asked] { asked = true; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(asked, 120000); }();
        return count;
    }

    GameServerPeer peer;
};

TEST_F(WatchRules, theUserMakesPausesAndRemovesRulesWhichAreKeptInTheSettings)
{
    startWith({server("Watched", nobodyAnswers)});
    WatchWindow& watch = openWatchWindow();
    EXPECT_EQ(rulesTable(watch).rowCount(), 0);

    QTest::mouseClick(watch.findChild<QPushButton*>("addRuleButton"), Qt::LeftButton);
    auto* dialog = watch.findChild<QDialog*>();
    ASSERT_TRUE(dialog && dialog->isVisible());
    auto* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    dialog->findChild<QComboBox*>("conditionBox")->setCurrentIndex(int(WatchRule::Condition::MapStarts));
    QTest::keyClicks(dialog->findChild<QLineEdit*>("textField"), " mp_carentan ");
    EXPECT_FALSE(ok->isEnabled()) << "a map starts on one server, which is not chosen yet";
    QComboBox& servers = *dialog->findChild<QComboBox*>("serverBox");
    EXPECT_EQ(servers.itemText(0), nobodyAnswers) << "the favourites are offered";
    servers.setCurrentIndex(0);
    dialog->findChild<QCheckBox*>("joinBox")->setChecked(true);
    ASSERT_TRUE(ok->isEnabled());
    QTest::mouseClick(ok, Qt::LeftButton);

    ASSERT_EQ(WatchRuleStore::stored().size(), 1);
    const WatchRule made = WatchRuleStore::stored().first();
    EXPECT_EQ(made.condition, WatchRule::Condition::MapStarts);
    EXPECT_EQ(made.text, "mp_carentan");
    EXPECT_EQ(made.server, nobodyAnswers);
    EXPECT_TRUE(made.notify && made.join && !made.joinWithoutAsking && !made.alert);
    EXPECT_EQ(cell(watch, 0, 1), "Map \"mp_carentan\" starts");
    EXPECT_EQ(cell(watch, 0, 3), "Notification, Join after 10 s");

    rulesTable(watch).item(0, 0)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(WatchRuleStore::stored().first().paused);

    // The armed player alert shows above the rules, and cannot be edited here.
    control<QLineEdit>("playerNameToFind").setText("[clan]");
    control<QCheckBox>("alertOnPlayerButton").setChecked(true);
    ASSERT_EQ(rulesTable(watch).rowCount(), 2);
    EXPECT_EQ(cell(watch, 0, 1), "Player or tag \"[clan]\" appears");
    rulesTable(watch).selectRow(0);
    EXPECT_FALSE(watch.findChild<QPushButton*>("removeRuleButton")->isEnabled());
    rulesTable(watch).selectRow(1);
    QTest::mouseClick(watch.findChild<QPushButton*>("removeRuleButton"), Qt::LeftButton);
    EXPECT_TRUE(WatchRuleStore::stored().isEmpty());
    control<QCheckBox>("alertOnPlayerButton").setChecked(false);
    EXPECT_EQ(rulesTable(watch).rowCount(), 0);
}

// The user's first steps with the keyboard: the sheet opens with the focus where the
// rule's text is typed, every time; Tab walks down it, Return takes the rule and
// Escape drops it; Delete removes the selected rule, as the Remove button does.
TEST_F(WatchRules, theKeyboardMakesAndRemovesARule)
{
    startWith({server("Watched", nobodyAnswers)});
    WatchWindow& watch = openWatchWindow();
    const auto openSheet = [this, &watch]() -> QDialog& {
        // As the desktop does when a sheet closes, the window is active again.
        watch.activateWindow();
        if (!QTest::qWaitForWindowActive(&watch))
            throw std::runtime_error("the Watch window did not become active");
        press(Qt::Key_A, Qt::AltModifier);
        // The button's shortcut clicks it as the user sees it pressed, a moment later.
        auto& dialog = *watch.findChild<QDialog*>();
        while (!dialog.isVisible())
            QTest::qWait(5);
        if (!QTest::qWaitForWindowActive(&dialog))
            throw std::runtime_error("the rule sheet did not become active");
        return dialog;
    };
    const auto focusName = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : std::string();
    };

    QDialog& sheet = openSheet();
    QTest::keyClicks(QApplication::focusWidget(), "<b>bold</b>");
    EXPECT_EQ(sheet.findChild<QLineEdit*>("textField")->text(), "<b>bold</b>");
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "scopeBox") << "the number is not used by a player's rule";
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "notifyBox") << "the server is chosen only for one server";
    press(Qt::Key_Return);
    EXPECT_FALSE(sheet.isVisible());
    ASSERT_EQ(WatchRuleStore::stored().size(), 1);
    EXPECT_EQ(WatchRuleStore::stored().first().text, "<b>bold</b>");
    EXPECT_EQ(cell(watch, 0, 1), "Player or tag \"<b>bold</b>\" appears");

    openSheet();
    EXPECT_EQ(focusName(), "textField") << "again, after the focus was elsewhere";
    QTest::keyClicks(QApplication::focusWidget(), "Al");
    press(Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_TRUE(watch.isVisible()) << "Escape closed the sheet alone";
    EXPECT_EQ(WatchRuleStore::stored().size(), 1);

    watch.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&watch));
    ASSERT_EQ(QApplication::focusWidget(), &rulesTable(watch)) << "the rules have the focus again";
    QTableWidget& table = rulesTable(watch);
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, table.visualItemRect(table.item(0, 1)).center());
    ASSERT_EQ(table.selectedItems().size(), table.columnCount());
    press(Qt::Key_Delete);
    EXPECT_TRUE(WatchRuleStore::stored().isEmpty());
    EXPECT_EQ(rulesTable(watch).rowCount(), 0);
}

TEST_F(WatchRules, theRefreshOfAFavouriteFeedsARuleThatFiresOnceEachTimeThePlayerComes)
{
    WatchRule bob = playerOn(addressOf(peer), "bob");
    bob.alert = true;
    startWatching({bob});
    waitForTheFirstWatchQuery();
    EXPECT_TRUE(notifications->sent().isEmpty()) << "Bob is not there yet";

    refreshTheFavourite({"Al", "^1B^7ob"});
    ASSERT_EQ(notifications->sent().size(), 1);
    EXPECT_EQ(notifications->sent().first().summary, "Watch");
    EXPECT_EQ(notifications->sent().first().body, "bob seen on Watched");
    EXPECT_EQ(notifications->sent().first().action, "Join");
    ASSERT_EQ(alerts->shown().size(), 1);
    EXPECT_EQ(alerts->shown().first().message, "bob seen on Watched");

    refreshTheFavourite({"Bob"});
    EXPECT_EQ(notifications->sent().size(), 1) << "still there: no second notice";
    refreshTheFavourite({"Al"});
    refreshTheFavourite({"Bob"});
    EXPECT_EQ(notifications->sent().size(), 2) << "gone, then back";
    EXPECT_TRUE(desktop->started().isEmpty()) << "the rule does not join";
}

TEST_F(WatchRules, aServerThatIsNoFavouriteIsAskedByTheWatchAndJoinedAtOnceWhenTheRuleSaysSo)
{
    GameServerPeer other;
    other.setStatusAnswer({status("mp_carentan", {})});
    WatchRule map;
    map.condition = WatchRule::Condition::MapStarts;
    map.text = QStringLiteral("mp_carentan");
    map.server = addressOf(other);
    map.notify = false;
    map.join = true;
    map.joinWithoutAsking = true;
    WatchRule paused = map;
    paused.paused = true;
    paused.server = addressOf(peer);
    startWatching({map, paused});
    while (desktop->started().isEmpty())
        QTest::qWait(5);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect", addressOf(other)}));
    EXPECT_EQ(countdown(), nullptr);
    EXPECT_TRUE(notifications->sent().isEmpty());
    EXPECT_EQ(controller->myServers().size(), 1) << "the watched server is not made a favourite";
}

TEST_F(WatchRules, joiningAsksWithACountdownThatCanBeCancelledOrCutShort)
{
    WatchRule bob = playerOn(addressOf(peer), "bob");
    bob.notify = false;
    bob.join = true;
    startWatching({bob});
    waitForTheFirstWatchQuery();

    refreshTheFavourite({"Bob"});
    JoinCountdown* asking = countdown();
    ASSERT_NE(asking, nullptr);
    EXPECT_EQ(asking->findChild<QLabel*>("countdownText")->text(), "Joining Watched in 10 s");
    QTest::mouseClick(asking->findChild<QPushButton*>("cancelJoinButton"), Qt::LeftButton);
    EXPECT_EQ(countdown(), nullptr);

    refreshTheFavourite({});
    refreshTheFavourite({"Bob"});
    asking = countdown();
    ASSERT_NE(asking, nullptr);
    QTest::mouseClick(asking->findChild<QPushButton*>("joinNowButton"), Qt::LeftButton);
    ASSERT_EQ(desktop->started().size(), 1);
    EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect", addressOf(peer)}));
    EXPECT_EQ(countdown(), nullptr);
}

// A notification service of the test's own, on a bus of its own.
TEST_F(WatchRules, theDesktopNotificationOffersJoinWhereTheServiceShowsActions)
{
    SessionBus bus;
    const QString connection = QStringLiteral("watch notifications");
    {
        NotificationService service(bus.address());
        DesktopNotifications::install(
            std::make_unique<DBusNotifications>(QDBusConnection::connectToBus(bus.address(), connection)));
        startWatching({playerOn(addressOf(peer), "bob")});
        waitForTheFirstWatchQuery();

        refreshTheFavourite({"Bob"});
        while (service.received().isEmpty())
            QTest::qWait(5);
        EXPECT_EQ(service.received().first().body, "bob seen on Watched");
        ASSERT_TRUE(service.chooseAction(0, "Join"));
        while (desktop->started().isEmpty())
            QTest::qWait(5);
        EXPECT_EQ(desktop->started().first().arguments, QStringList({"+connect", addressOf(peer)}));

        service.setOffersActions(false);
        refreshTheFavourite({});
        refreshTheFavourite({"Bob"});
        while (service.received().size() < 2)
            QTest::qWait(5);
        EXPECT_TRUE(service.received().last().actions.isEmpty()) << "no button the service cannot show";
        endRunWithoutPrompt();
    }
    DesktopNotifications::install(std::make_unique<RecordingNotifications>());
    QDBusConnection::disconnectFromBus(connection);
}

// The watch's own queries, on the scan engine, every interval of its rules: a map that
// starts after the first query, and a silent server that starts answering, are told
// at the next one.
TEST_F(WatchRules, theWatchAsksAgainEachIntervalAndTellsAMapThatStartsAndAServerThatComesBack)
{
    GameServerPeer changing;
    changing.setStatusAnswer({status("mp_toujane", {})});
    GameServerPeer silent;
    silent.setStatusAnswer({status("mp_dawnville", {})});
    silent.setSilent(true);
    WatchRule map = onServer(WatchRule::Condition::MapStarts, changing);
    map.text = QStringLiteral("mp_carentan");
    startWatching({map, onServer(WatchRule::Condition::ServerComesBack, silent)});
    waitForTheWatchToAsk({&changing, &silent});
    EXPECT_TRUE(notifications->sent().isEmpty()) << "another map; a server never seen up";

    changing.setStatusAnswer({status("mp_carentan", {})});
    silent.setSilent(false);
    while (notifications->sent().size() < 2)
        QTest::qWait(5);
    EXPECT_EQ(bodiesOf(notifications->sent()), QStringList({"Watched is back up", "mp_carentan started on Watched"}));
    EXPECT_EQ(controller->myServers().size(), 1) << "the watched servers are not made favourites";
    EXPECT_GE(answersRecordedByTheWatch(changing), 2) << "the history remembers what the watch saw";
    EXPECT_GE(answersRecordedByTheWatch(silent), 1);
}

// The refresh of all favourites leaves a watched favourite that the watch is asking to
// it, so the server has one query at a time; and its answers feed the rules.
TEST_F(WatchRules, aWatchedFavouriteIsAskedOnceAtATimeAndTheRefreshOfAllFeedsItsRule)
{
    TestPreferences::setTimeout(999000);
    peer.setSilent(true);
    WatchRule back = onServer(WatchRule::Condition::ServerComesBack, peer);
    back.intervalSeconds = 3600;
    startWatching({back});
    ASSERT_TRUE(peer.waitForReceived(1));
    clickButton("refreshAllServersButton");
    waitForTheRunToEnd();
    waitForTheWatchToAsk({&peer});
    EXPECT_EQ(statusQueries(peer), MasterScan::settingsFor({}).tries) << "the watch's query alone, with its tries";
    EXPECT_TRUE(notifications->sent().isEmpty());

    peer.setSilent(false);
    clickButton("refreshAllServersButton");
    waitForTheRunToEnd();
    ASSERT_EQ(notifications->sent().size(), 1);
    EXPECT_EQ(notifications->sent().first().body, "Watched is back up");
}
