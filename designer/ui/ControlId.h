#pragma once

class QObject;

namespace remote {

// Dialog and control numbers stay on the widgets (property "controlId"),
// where the tests and the commands find them.
void SetControlId(QObject* object, int id);
int ControlId(const QObject* object);

} // namespace remote
