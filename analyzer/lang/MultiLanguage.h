#pragma once

#include "analyzer/lang/LanguagePack.h"

#include <QString>
#include <QStringList>

#include <array>

// The language of the user interface: finds the packs in the "Language"
// folder beside the program, writes the built-in ones when there are none,
// keeps the current pack's texts and remembers the choice as [Setting]
// Language in Setting.ini. The windows translate themselves through it
// (analyzer/lang/window).
class CMultiLanguage {
public:
    // A pack built into the program and the name of the file it is written to.
    struct EmbeddedPack {
        const char* resource;
        const char* fileName; // without ".ini"
    };
    static const std::array<EmbeddedPack, 3>& EmbeddedPacks();

    // Creates Setting.ini with [Setting] Language=English when there is none,
    // then selects the stored language.
    explicit CMultiLanguage(const QString& appDirectory);

    QString PackFolder() const;
    QString SettingsPath() const { return settingsPath; }

    // The name of every pack in the folder, in file-name order; files without
    // a name are no packs. Two packs of one name are both listed.
    QStringList ListLanguages() const;

    // Makes `name` (empty: the stored language) current, loads the first pack
    // of that name and stores the name, also when no pack has it; then the
    // previous pack stays in use. True when a pack matched.
    bool SelectLanguage(const QString& name);

    // Writes one built-in pack into the pack folder as `fileName` + ".ini".
    bool ExtractPack(const EmbeddedPack& pack) const;

    // Start-up: the listed packs; when there is none the built-in packs are
    // written, listed, and English is selected.
    QStringList ListOrInstallLanguages();

    // A composed text: the pack's value (`fallback` when it has none) with
    // every backslash-n turned into a line break.
    QString LookupText(const QString& section, const QString& key, const QString& fallback = QString()) const;
    // The same from "SPECIAL_STRING" with an empty fallback.
    QString LookupText(const QString& key) const;
    // A window or menu text as the pack holds it (backslash-n stays); empty
    // when the pack has none.
    QString WindowText(const QString& section, const QString& key) const;

    QString CurrentLanguage() const { return currentLanguage; }
    QString PackPath() const { return packPath; }

private:
    QStringList PackFiles() const;

    QString appDirectory;
    QString settingsPath;
    QString packPath;
    QString currentLanguage;
    LanguagePack pack;
};
