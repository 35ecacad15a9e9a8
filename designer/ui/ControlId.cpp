#include "designer/ui/ControlId.h"

#include <QObject>
#include <QVariant>

namespace remote {

void SetControlId(QObject* object, int id)
{
    object->setProperty("controlId", id);
}

int ControlId(const QObject* object)
{
    return object->property("controlId").toInt();
}

} // namespace remote
