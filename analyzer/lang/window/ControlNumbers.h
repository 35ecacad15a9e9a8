#pragma once

// The numbers windows, controls and menu commands carry, by which language
// packs address them and menu commands are routed: a property on the widget
// or action ("dialogNumber", "controlId", "commandId").

class QAction;
class QObject;
class QWidget;

// Marks a window or a page as a dialog of its own: translating the window
// around it leaves its controls alone.
void SetDialogNumber(QWidget* dialog, int number);
int DialogNumber(const QWidget* dialog); // 0 when it has none
void SetControlId(QObject* object, int id);
int ControlId(const QObject* object); // 0 when it has none
void SetCommandId(QAction* action, int id);
int CommandId(const QAction* action); // 0 when it has none
