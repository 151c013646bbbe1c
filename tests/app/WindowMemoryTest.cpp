#include "MainWindowFixture.h"

#include "app/Preferences.h"

#include <QHeaderView>

// The main window comes back in the next run with the size and the column widths it
// had when it was last hidden; a damaged stored layout leaves the layout's own.
using WindowMemory = MainWindowFixture;

TEST_F(WindowMemory, sizeAndColumnWidthsSurviveARestartUnlessDamaged)
{
    start();
    const auto playerColumns = [this]() -> QHeaderView& { return *players().horizontalHeader(); };
    const QSize firstSize = window->size();
    const int firstWidth = playerColumns().sectionSize(1);
    window->resize(913, 644);
    playerColumns().resizeSection(1, 123);
    window->hide();

    window.reset();
    controller.reset();
    start();
    EXPECT_EQ(window->size(), QSize(913, 644));
    EXPECT_EQ(playerColumns().sectionSize(1), 123);

    window.reset();
    controller.reset();
    Preferences::standard().setObject(QByteArray("not a geometry"), "Window geometry MainWindow");
    Preferences::standard().setObject(QByteArray("\x01\x02"), "Columns of MainWindow tableViewPlayers");
    start();
    EXPECT_EQ(window->size(), firstSize);
    EXPECT_EQ(playerColumns().sectionSize(1), firstWidth);
}
