#include "finders/GameRows.h"

#include "model/GameCatalogue.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <class Widget>
Widget* named(const QString& name, const GameDescription& game)
{
    auto* widget = new Widget;
    widget->setObjectName(name + u'-' + game.id);
    return widget;
}

QPushButton* button(const QString& name, const QString& text, const GameDescription& game)
{
    auto* pushButton = named<QPushButton>(name, game);
    pushButton->setText(text);
    pushButton->setAccessibleName(text + u' ' + game.name);
    return pushButton;
}

}  // namespace

QList<GameRow> GameRows::addTo(QGridLayout& grid, Title title)
{
    QList<GameRow> rows;
    const QList<GameDescription>& games = GameCatalogue::standard().games();
    for (int row = 0; row < int(games.size()); ++row) {
        const GameDescription& game = games.at(row);
        GameRow gameRow;
        QWidget* name = nullptr;
        if (title == Title::ChoiceButton) {
            gameRow.choice = named<QRadioButton>(QStringLiteral("gameButton"), game);
            gameRow.choice->setText(game.name);
            gameRow.choice->setChecked(row == 0);
            name = gameRow.choice;
        } else {
            auto* label = named<QLabel>(QStringLiteral("gameLabel"), game);
            label->setTextFormat(Qt::PlainText);
            label->setText(game.name);
            name = label;
        }
        gameRow.count = named<QLabel>(QStringLiteral("serverCount"), game);
        gameRow.count->setTextFormat(Qt::PlainText);
        gameRow.fetch = button(QStringLiteral("fetchButton"), QObject::tr("Fetch"), game);
        gameRow.stop = button(QStringLiteral("stopButton"), QObject::tr("Stop"), game);
        grid.addWidget(name, row, 0);
        grid.addWidget(gameRow.count, row, 1);
        grid.addWidget(gameRow.fetch, row, 2);
        grid.addWidget(gameRow.stop, row, 3);
        rows.append(gameRow);
    }
    return rows;
}
