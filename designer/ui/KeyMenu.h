#pragma once

class QMenu;
class QWidget;

// The key-type menu (158): "Default", "Power", "Menu", the "Number" submenu
// with "0" to "9", then "+", "-", the four arrows and "Blank". Each action
// carries its command number as data; the shortcut texts after the tab are
// only shown, the window handles the keys itself.
QMenu* CreateKeyMenu(QWidget* parent);
