#include "analyzer/library/window/VendorIds.h"

#include "analyzer/lang/window/ControlNumbers.h"

void SetVendorControlId(QObject* object, int id)
{
    SetControlId(object, id);
}

void SetVendorCommandId(QAction* action, int id)
{
    SetCommandId(action, id);
}
