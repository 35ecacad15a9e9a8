#pragma once

#include <QHash>
#include <QString>

// Composed user texts and window texts, looked up by section and key in the
// current language. Only the built-in English texts exist so far; language
// packs plug in here.
class CMultiLanguage {
public:
    CMultiLanguage();

    // The text of `key` from the "SPECIAL_STRING" texts; empty when unknown.
    QString LookupText(const QString& key) const;
    // The text of `key` in `section` ("IDD_137", "MENU_139", ...); sections
    // and keys match without regard to case; empty when unknown.
    QString LookupText(const QString& section, const QString& key) const;

    QString CurrentLanguage() const { return currentLanguage; }

private:
    QString currentLanguage;
    QHash<QString, QString> texts; // "SECTION/KEY" upper-cased -> text
};
