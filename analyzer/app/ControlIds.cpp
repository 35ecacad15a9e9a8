#include "analyzer/app/ControlIds.h"

#include <QAction>
#include <QObject>
#include <QVariant>

void SetControlId(QObject* object, int id)
{
    object->setProperty("controlId", id);
}

int ControlId(const QObject* object)
{
    return object->property("controlId").toInt();
}

void SetCommandId(QAction* action, int id)
{
    action->setProperty("commandId", id);
    action->setData(id);
}

int CommandId(const QAction* action)
{
    return action->property("commandId").toInt();
}
