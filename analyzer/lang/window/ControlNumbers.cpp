#include "analyzer/lang/window/ControlNumbers.h"

#include <QAction>
#include <QObject>
#include <QVariant>
#include <QWidget>

void SetDialogNumber(QWidget* dialog, int number)
{
    dialog->setProperty("dialogNumber", number);
}

int DialogNumber(const QWidget* dialog)
{
    return dialog->property("dialogNumber").toInt();
}

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
