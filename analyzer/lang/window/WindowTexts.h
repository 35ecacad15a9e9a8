#pragma once

#include <initializer_list>

class CMultiLanguage;
class QApplication;
class QMenu;
class QMenuBar;
class QWidget;

// Windows and menus take their texts from the current language pack by the
// numbers they carry (ControlNumbers.h).

// Title from "IDD_<n>_Title", each numbered control's text from
// "IDD_<n>_<control>" (buttons, check boxes, labels, group boxes). Texts the
// pack lacks or leaves empty stay as they are; backslash-n stays literal.
void TranslateDialog(const CMultiLanguage& language, QWidget* window, int dialogNumber);

// Captions from section "MENU_<m>": a popup by its position path
// ("MENU_131_0", "MENU_131_0_3"), a command by its number at any depth
// ("MENU_131_32776"). Entries without a number keep their text.
void TranslateMenu(const CMultiLanguage& language, QMenuBar* menuBar, int menuNumber);
// `popup` is the popup at position path `popupPath` of menu m: a context menu
// shown on its own is popup 0 of its menu ({0}: "MENU_139_0_1" is its entry 1).
void TranslateMenu(const CMultiLanguage& language, QMenu* popup, int menuNumber,
                   std::initializer_list<int> popupPath);

// The application font falls back to WenQuanYi Micro Hei for the glyphs it
// lacks, so the Chinese packs render whatever the default face is.
void UseChineseFallbackFont();
