#pragma once

#include <QString>

class QWidget;
class VendorHost;

// Sets a dialog's title and the texts of its numbered controls from section
// "IDD_<number>" of the current language; a text the pack lacks stays as it is.
void TranslateDialog(QWidget* dialog, int dialogNumber, const VendorHost& host);

// A caption of menu `menuNumber` ("MENU_139_32787", "MENU_139_0_1"), or
// `fallback` when the pack has none.
QString MenuText(const VendorHost& host, int menuNumber, const QString& keySuffix, const QString& fallback);
