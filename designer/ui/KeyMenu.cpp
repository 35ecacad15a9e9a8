#include "designer/ui/KeyMenu.h"

#include "designer/KeyTypes.h"
#include "designer/RemoteLayout.h"
#include "designer/ui/ControlId.h"

#include <QAction>
#include <QMenu>

namespace {

void AddKeyAction(QMenu* menu, int keyType)
{
    QAction* action = menu->addAction(keys::MenuItemText(keyType));
    action->setData(keys::Key(keyType).command);
}

} // namespace

QMenu* CreateKeyMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("MENU_KEY"));
    remote::SetControlId(menu, remote::kKeyMenu);
    for (int type : {keys::kDefault, keys::kPower, keys::kMenu})
        AddKeyAction(menu, type);
    QMenu* numbers = menu->addMenu(QStringLiteral("Number"));
    for (int digit = 0; digit < 10; ++digit)
        AddKeyAction(numbers, keys::kDigit0 + digit);
    for (int type : {keys::kPlus, keys::kMinus, keys::kUp, keys::kDown, keys::kLeft, keys::kRight, keys::kBlank})
        AddKeyAction(menu, type);
    return menu;
}
