// The controller's side of the finders: what they ask of it through FinderHost, and
// opening them.
#include "app/Zorvel.h"

#include "app/MainWindow.h"
#include "app/PasswordWindow.h"

#include "ui_PasswordWindow.h"

void Zorvel::connectFinders()
{
    connect(this, &Zorvel::masterScanStarted, &finders, &Finders::updateFindersUI);
    connect(this, &Zorvel::masterScanStopAsked, &finders, &Finders::updateFindersUI);
    connect(this, &Zorvel::masterListsChanged, &finders, &Finders::handMasterListsToFinders);
}

void Zorvel::showFindServerWindow()
{
    finders.showFindServerWindow();
}

void Zorvel::showFindPlayerOrClanPanel()
{
    finders.showFindPlayerOrClanPanel();
}

FinderHost::MasterLists Zorvel::masterLists() const
{
    MasterLists lists;
    for (int tag = 0; tag < int(masterScans.size()); ++tag)
        lists.append(masterServers(tag));
    return lists;
}

void Zorvel::scanServers(int tag)
{
    startMasterScan(*masterScans.at(size_t(tag)));
}

void Zorvel::scanServersStop(int tag)
{
    stopMasterScan(*masterScans.at(size_t(tag)));
}

void Zorvel::joinServer(const CodServerPtr& server, QWidget& window, bool withPassword)
{
    if (withPassword || wantsJoinPassword(*server))
        askJoinPassword(server, window);
    else
        joinServerWithPass(*server, QString());
}

// A sheet of the finder's own, modal for it alone. It offers the password last typed
// into the main window's sheet, and leaves the one typed here there for the next.
void Zorvel::askJoinPassword(const CodServerPtr& server, QWidget& window)
{
    auto* sheet = new PasswordWindow(&window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    QLineEdit& field = *sheet->controls().pPassword;
    QLineEdit* sharedField = mainWindow ? mainWindow->passwordWindow().controls().pPassword : nullptr;
    if (sharedField)
        field.setText(sharedField->text());
    connect(sheet->controls().okButton, &QPushButton::clicked, this, [this, sheet, server, sharedField] {
        const QString password = sheet->controls().pPassword->text();
        if (sharedField)
            sharedField->setText(password);
        sheet->accept();
        joinServerWithPass(*server, password);
    });
    connect(sheet->controls().cancelButton, &QPushButton::clicked, sheet, &QDialog::reject);
    sheet->openForPassword();
}
