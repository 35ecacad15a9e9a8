#pragma once

#include <QString>

// [Setting] Language of Setting.ini. Unlike the other keys it is written
// without quotes, and an empty value is returned as it is: "English" stands
// in only when the key (or the file) is missing. Writing keeps every other
// byte of the file and replaces it atomically.
QString ReadLanguageSetting(const QString& iniPath);
bool WriteLanguageSetting(const QString& iniPath, const QString& language);
