#include "app/HistoryTab.h"

#include "app/BusyHoursGrid.h"
#include "app/PlayersChart.h"
#include "history/HistoryQuestions.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

// Answers further apart than this many stretches are not joined by the line: the
// server was not asked in between.
constexpr qint64 stretchesOfAGap = 3;

}  // namespace

const QList<HistoryTab::Period>& HistoryTab::periods()
{
    static const QList<Period> all = {
        {QStringLiteral("Last 24 hours"), 24 * 3600, 5 * 60, QStringLiteral("HH:mm")},
        {QStringLiteral("Last 7 days"), 7 * 24 * 3600, 30 * 60, QStringLiteral("ddd HH:mm")},
        {QStringLiteral("Last 30 days"), 30 * 24 * 3600, 2 * 3600, QStringLiteral("d MMM")},
    };
    return all;
}

HistoryTab::HistoryTab(HistoryStore& history, QWidget* parent)
    : QWidget(parent)
    , history(history)
    , periodChoice(new QComboBox)
    , pages(new QStackedWidget)
    , nothing(new QLabel)
    , chart(new PlayersChart)
    , busyHours(new BusyHoursGrid)
{
    periodChoice->setObjectName(QStringLiteral("historyPeriod"));
    for (const Period& period : periods())
        periodChoice->addItem(period.name);
    auto* periodLabel = new QLabel(QStringLiteral("&Period:"));
    periodLabel->setBuddy(periodChoice);
    auto* periodRow = new QHBoxLayout;
    periodRow->addWidget(periodLabel);
    periodRow->addWidget(periodChoice);
    periodRow->addStretch();

    pages->setObjectName(QStringLiteral("historyPages"));
    nothing->setObjectName(QStringLiteral("historyNothing"));
    nothing->setAlignment(Qt::AlignCenter);
    nothing->setWordWrap(true);
    chart->setObjectName(QStringLiteral("historyChart"));
    busyHours->setObjectName(QStringLiteral("historyBusyHours"));
    auto* charts = new QWidget;
    auto* chartsLayout = new QVBoxLayout(charts);
    chartsLayout->setContentsMargins(QMargins());
    chartsLayout->addWidget(chart, 1);
    chartsLayout->addWidget(new QLabel(QStringLiteral("Busy hours (mean players, local time):")));
    chartsLayout->addWidget(busyHours);
    pages->addWidget(nothing);
    pages->addWidget(charts);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(periodRow);
    layout->addWidget(pages, 1);
    connect(periodChoice, &QComboBox::currentIndexChanged, this, &HistoryTab::ask);
}

void HistoryTab::showServer(const QString& serverAddress)
{
    address = serverAddress;
    ask();
}

void HistoryTab::ask()
{
    const Period& period = periods().at(std::max(periodChoice->currentIndex(), 0));
    const qint64 until = QDateTime::currentSecsSinceEpoch();
    const qint64 since = until - period.seconds;
    const int question = ++questions;
    HistoryQuestions::serverHistory(history, address, since, period.stretchSeconds, this,
                                    [this, question, period, since, until](const ServerHistory& answer) {
                                        if (question == questions)
                                            show(answer, period, since, until);
                                    });
}

void HistoryTab::show(const ServerHistory& answer, const Period& period, qint64 since, qint64 until)
{
    if (!answer.known) {
        nothing->setText(QStringLiteral("No history for this server yet."));
        pages->setCurrentWidget(nothing);
        return;
    }
    if (answer.players.isEmpty()) {
        nothing->setText(QStringLiteral("No history for this server in the %1.").arg(period.name.toLower()));
        pages->setCurrentWidget(nothing);
        return;
    }
    chart->showHistory(answer, since, until, stretchesOfAGap * period.stretchSeconds, period.timeFormat);
    busyHours->setHours(answer.busyHours);
    pages->setCurrentWidget(chart->parentWidget());
}
