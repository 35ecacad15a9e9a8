#include "analyzer/lang/MultiLanguage.h"

namespace {

struct BuiltInText {
    const char* section;
    const char* key;
    const char16_t* text;
};

// The built-in English pack.
const BuiltInText kEnglish[] = {
    {"IDD_137", "IDD_137_Title", u"Vendor"},
    {"IDD_137", "IDD_137_1040", u"Code Name:"},
    {"IDD_137", "IDD_137_1", u"Add"},
    {"IDD_137", "IDD_137_1033", u"Test"},
    {"IDD_137", "IDD_137_1039", u"Setting"},
    {"IDD_137", "IDD_137_1038", u"Save"},
    {"IDD_137", "IDD_137_1035", u"Clear"},
    {"IDD_137", "IDD_137_1043", u"Delete"},
    {"IDD_138", "IDD_138_Title", u"Add"},
    {"IDD_138", "IDD_138_1", u"OK"},
    {"IDD_138", "IDD_138_2", u"Cancel"},
    {"IDD_138", "IDD_138_1041", u"CH1"},
    {"IDD_138", "IDD_138_1042", u"CH2"},
    {"IDD_138", "IDD_138_1043", u"CH3"},
    {"IDD_138", "IDD_138_1044", u"CH4"},
    {"IDD_140", "IDD_140_Title", u"Rename"},
    {"IDD_140", "IDD_140_1", u"OK"},
    {"IDD_141", "IDD_141_Title", u"Test Setting"},
    {"IDD_141", "IDD_141_1", u"OK"},
    {"IDD_141", "IDD_141_2", u"Cancel"},
    {"IDD_141", "IDD_141_1047", u"Margins of error:"},
    {"IDD_141", "IDD_141_1046", u"Play Sound"},
    {"MENU_139", "MENU_139_32787", u"Send(&S)"},
    {"MENU_139", "MENU_139_0_1", u"Load To(&L)"},
    {"MENU_139", "MENU_139_32789", u"CH&1"},
    {"MENU_139", "MENU_139_32790", u"CH&2"},
    {"MENU_139", "MENU_139_32791", u"CH&3"},
    {"MENU_139", "MENU_139_32792", u"CH&4"},
    {"MENU_139", "MENU_139_32793", u"Rename(&R)"},
    {"SPECIAL_STRING", "IDS_DEVICE_NC", u"Device is not connected!"},
    {"SPECIAL_STRING", "IDS_CHANNEL", u"Channel%d"},
    {"SPECIAL_STRING", "IDS_START", u"START"},
    {"SPECIAL_STRING", "IDS_STOP", u"STOP"},
    {"SPECIAL_STRING", "IDS_NUMBER", u"Number"},
    {"SPECIAL_STRING", "IDS_NAME", u"Name"},
    {"SPECIAL_STRING", "IDS_TRIGGER_AUTO", u"Auto."},
    {"SPECIAL_STRING", "IDS_TRIGGER_RISING_EDGE", u"Rising Edge"},
    {"SPECIAL_STRING", "IDS_TRIGGER_FALLING_EDGE", u"Falling Edge"},
    {"SPECIAL_STRING", "IDS_TRIGGER_PULSE", u"Pulse"},
    {"SPECIAL_STRING", "IDS_TRIGGER_POSITIVE_PULSE", u"Positive Pulse"},
    {"SPECIAL_STRING", "IDS_TRIGGER_NEGATIVE_PULSE", u"Negative Pulse"},
    {"SPECIAL_STRING", "IDS_CAPTURE_ONCE", u"Once"},
    {"SPECIAL_STRING", "IDS_CAPTURE_NORMAL", u"Normal"},
    {"SPECIAL_STRING", "IDS_CAPTURE_AUTO", u"Auto."},
    {"SPECIAL_STRING", "IDS_TRIGGER", u"Trigger"},
    {"SPECIAL_STRING", "IDS_FORMAT", u"Format"},
    {"SPECIAL_STRING", "IDS_ANALYZE", u"Analyze"},
};

QString TextKey(const QString& section, const QString& key)
{
    return (section + QLatin1Char('/') + key).toUpper();
}

} // namespace

CMultiLanguage::CMultiLanguage() : currentLanguage(QStringLiteral("English"))
{
    for (const BuiltInText& text : kEnglish)
        texts.insert(TextKey(QLatin1String(text.section), QLatin1String(text.key)), QString::fromUtf16(text.text));
}

QString CMultiLanguage::LookupText(const QString& key) const
{
    return LookupText(QStringLiteral("SPECIAL_STRING"), key);
}

QString CMultiLanguage::LookupText(const QString& section, const QString& key) const
{
    return texts.value(TextKey(section, key));
}
