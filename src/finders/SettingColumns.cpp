#include "finders/SettingColumns.h"

#include "platform/TextValue.h"

#include <QHash>

#include <array>

namespace {

enum State { Off, On, Reflected };

State passwordState(int value)
{
    return value == 1 ? On : Off;
}

State switchState(int value)
{
    return value == 0 ? Off : On;
}

State friendlyFireState(int value)
{
    return value == 0 ? Off : value == 1 ? On : Reflected;
}

struct SettingColumn {
    ServerFields::Text field;
    State (*stateOf)(int value);
    // The words of each state, in the order of State.
    std::array<QString, 3> words;
    // The icon shown when the setting is on; a column without one shows a check mark.
    QPixmap SettingColumns::Icons::*icon = nullptr;
};

const QHash<QString, SettingColumn>& settingColumns()
{
    using Icons = SettingColumns::Icons;
    static const QHash<QString, SettingColumn> columns = {
        {QStringLiteral("serverPassActive"),
         {&CodServer::serverPassActive, passwordState, {"No password", "Password required"}, &Icons::password}},
        {QStringLiteral("serverPunkBuster"),
         {&CodServer::serverPunkBuster, switchState, {"PunkBuster off", "PunkBuster on"}, &Icons::punkBuster}},
        {QStringLiteral("serverFriendlyFire"),
         {&CodServer::serverFriendlyFire, friendlyFireState,
          {"Friendly fire off", "Friendly fire on", "Friendly fire reflected"}}},
        {QStringLiteral("serverKillCam"), {&CodServer::serverKillCam, switchState, {"Kill cam off", "Kill cam on"}}},
        {QStringLiteral("serverPure"),
         {&CodServer::serverPure, switchState,
          {"Not pure: modified game files allowed", "Pure: unmodified game files only"}}},
    };
    return columns;
}

Qt::CheckState checkStateOf(State state)
{
    switch (state) {
    case Off: return Qt::Unchecked;
    case On: return Qt::Checked;
    case Reflected: return Qt::PartiallyChecked;
    }
    return Qt::Unchecked;
}

}  // namespace

namespace SettingColumns {

ServerFields::Text fieldOf(const QString& identifier)
{
    const auto column = settingColumns().constFind(identifier);
    return column == settingColumns().cend() ? nullptr : column->field;
}

QVariant data(const CodServer& server, const QString& identifier, int role, const Icons& icons)
{
    const auto column = settingColumns().constFind(identifier);
    if (column == settingColumns().cend())
        return {};
    const State state = column->stateOf(TextValue::integerValue((server.*column->field)()));
    switch (role) {
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: return column->words[state];
    case Qt::DecorationRole: return column->icon && state == On ? QVariant(icons.*column->icon) : QVariant();
    case Qt::CheckStateRole: return column->icon ? QVariant() : QVariant(checkStateOf(state));
    default: return {};
    }
}

}  // namespace SettingColumns
