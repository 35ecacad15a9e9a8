#include "analyzer/library/window/VendorIds.h"

#include <QAction>
#include <QObject>
#include <QVariant>

void SetVendorControlId(QObject* object, int id)
{
    object->setProperty("controlId", id);
}

void SetVendorCommandId(QAction* action, int id)
{
    action->setProperty("commandId", id);
    action->setData(id);
}
