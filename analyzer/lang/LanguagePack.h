#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// The texts of one language pack file, read once into memory. A pack is INI
// text in UTF-16LE with a byte-order mark (the built-in packs) or UTF-8 (what
// users write); sections and keys match without regard to case, the first of
// equal sections or keys counts, values are cut to 999 characters. Reading
// is bounded by the profile layer: only the first megabyte of a file is read.
class LanguagePack {
public:
    // The language name is read up to this many characters.
    static constexpr int kMaxNameLength = 99;

    static LanguagePack Parse(const QByteArray& fileBytes);
    // A missing or unreadable file gives an empty pack.
    static LanguagePack Load(const QString& path);

    // nullopt when the pack has no such key.
    std::optional<QString> Text(const QString& section, const QString& key) const;
    qsizetype Size() const { return texts.size(); }

private:
    QHash<QString, QString> texts; // folded "section\nkey" -> value
};

// [Setting] Language of a pack file, at most 99 characters; empty when the
// file has none (it is then no pack).
QString PackLanguageName(const QString& path);
