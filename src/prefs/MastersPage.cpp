#include "prefs/MastersPage.h"

#include "model/EditedMasters.h"
#include "model/GameCatalogue.h"
#include "platform/Preferences.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>

namespace {

enum Column { HostColumn, PortColumn, TransportColumn, ProtocolsColumn, ColumnCount };

const QList<GameDescription>& games()
{
    return GameCatalogue::standard().games();
}

QPushButton* newButton(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QString protocolsText(const QList<int>& protocols)
{
    QStringList texts;
    for (int protocol : protocols)
        texts.append(QString::number(protocol));
    return texts.join(u' ');
}

QList<int> protocolsOf(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    QList<int> protocols;
    for (const QString& word : text.split(separators, Qt::SkipEmptyParts)) {
        bool isNumber = false;
        const int protocol = word.toInt(&isNumber);
        if (isNumber && protocol >= 0)
            protocols.append(protocol);
    }
    return protocols;
}

}  // namespace

MastersPage::MastersPage(QWidget* parent)
    : QGroupBox(tr("Masters"), parent)
{
    setObjectName(QStringLiteral("mastersPage"));
    gameBox = new QComboBox(this);
    gameBox->setObjectName(QStringLiteral("mastersGameBox"));
    gameBox->setAccessibleName(tr("Game"));
    for (const GameDescription& game : games())
        gameBox->addItem(game.name);
    table = new QTableWidget(0, ColumnCount, this);
    table->setObjectName(QStringLiteral("mastersTable"));
    table->setHorizontalHeaderLabels({tr("Host"), tr("Port"), tr("Transport"), tr("Protocols")});
    table->horizontalHeader()->setSectionResizeMode(HostColumn, QHeaderView::Stretch);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    auto* addButton = newButton(QStringLiteral("addMasterButton"), tr("Add"), this);
    removeButton = newButton(QStringLiteral("removeMasterButton"), tr("Remove"), this);
    auto* restoreButton = newButton(QStringLiteral("restoreMastersButton"), tr("Restore defaults"), this);
    auto* layout = new QGridLayout(this);
    layout->addWidget(gameBox, 0, 0, 1, 3);
    layout->addWidget(table, 1, 0, 1, 3);
    layout->addWidget(addButton, 2, 0);
    layout->addWidget(removeButton, 2, 1);
    layout->addWidget(restoreButton, 2, 2);
    connect(gameBox, &QComboBox::currentIndexChanged, this, &MastersPage::showGame);
    connect(addButton, &QPushButton::clicked, this, &MastersPage::addMaster);
    connect(removeButton, &QPushButton::clicked, this, &MastersPage::removeMaster);
    connect(restoreButton, &QPushButton::clicked, this, &MastersPage::restoreDefaults);
    connect(table, &QTableWidget::itemSelectionChanged, this,
            [this] { removeButton->setEnabled(!table->selectedItems().isEmpty()); });
    showGame(gameBox->currentIndex());
}

bool MastersPage::store()
{
    keepShownGame();
    bool stored = true;
    for (const GameDescription& game : games()) {
        if (edited.contains(game.id))
            stored &= EditedMasters::store(game, edited.value(game.id), Preferences::standard());
    }
    return stored;
}

void MastersPage::showGame(int index)
{
    keepShownGame();
    shownGame = index;
    if (index < 0)
        return;
    const GameDescription& game = games().at(index);
    showMasters(edited.value(game.id, EditedMasters::of(game, Preferences::standard())));
}

void MastersPage::keepShownGame()
{
    if (shownGame >= 0)
        edited.insert(games().at(shownGame).id, mastersInTable(games().at(shownGame)));
}

void MastersPage::showMasters(const QList<MasterDescription>& masters)
{
    table->setRowCount(0);
    for (const MasterDescription& master : masters) {
        const int row = table->rowCount();
        table->insertRow(row);
        const bool tcp = master.transport == MasterDescription::Transport::Tcp;
        const QStringList cells = {master.host, QString::number(master.port),
                                   tcp ? QStringLiteral("tcp") : QStringLiteral("udp"), protocolsText(master.protocols)};
        for (int column = 0; column < ColumnCount; ++column)
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    removeButton->setEnabled(false);
}

// A new row to fill in, with the usual transport and the game's first protocol.
void MastersPage::addMaster()
{
    const GameDescription& game = games().at(shownGame);
    const QList<int> protocols = game.masters.isEmpty() ? QList<int>{} : game.masters.constFirst().protocols.mid(0, 1);
    const int row = table->rowCount();
    table->insertRow(row);
    const QStringList cells = {QString(), QString(), QStringLiteral("udp"), protocolsText(protocols)};
    for (int column = 0; column < ColumnCount; ++column)
        table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    table->setCurrentCell(row, HostColumn);
    table->editItem(table->item(row, HostColumn));
}

void MastersPage::removeMaster()
{
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        table->removeRow(row->row());
}

void MastersPage::restoreDefaults()
{
    showMasters(games().at(shownGame).masters);
}

QList<MasterDescription> MastersPage::mastersInTable(const GameDescription& game) const
{
    QList<MasterDescription> masters;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (const std::optional<MasterDescription> master = masterInRow(game, row))
            masters.append(*master);
    }
    return masters;
}

std::optional<MasterDescription> MastersPage::masterInRow(const GameDescription& game, int row) const
{
    const auto cell = [this, row](int column) {
        const QTableWidgetItem* item = table->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    bool isNumber = false;
    const int port = cell(PortColumn).toInt(&isNumber);
    const QList<int> protocols = protocolsOf(cell(ProtocolsColumn));
    if (cell(HostColumn).isEmpty() || !isNumber || port < 1 || port > 65535 || protocols.isEmpty())
        return std::nullopt;
    const auto transport = cell(TransportColumn).compare(QStringLiteral("tcp"), Qt::CaseInsensitive) == 0
                               ? MasterDescription::Transport::Tcp
                               : MasterDescription::Transport::Udp;
    MasterDescription master = EditedMasters::likeCatalogue(game, cell(HostColumn), static_cast<quint16>(port), transport);
    master.protocols = protocols;
    return master;
}
