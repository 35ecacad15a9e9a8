#pragma once

#include <QHash>
#include <QString>

// Composed user texts, looked up by key in the current language. Only the
// built-in English texts exist so far; language packs plug in here.
class CMultiLanguage {
public:
    CMultiLanguage();

    // The text of `key` from the "SPECIAL_STRING" texts; empty when unknown.
    QString LookupText(const QString& key) const;

    QString CurrentLanguage() const { return currentLanguage; }

private:
    QString currentLanguage;
    QHash<QString, QString> specialStrings;
};
