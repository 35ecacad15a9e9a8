#include "analyzer/lang/MultiLanguage.h"

CMultiLanguage::CMultiLanguage() : currentLanguage(QStringLiteral("English"))
{
    specialStrings = {
        {QStringLiteral("IDS_DEVICE_NC"), QStringLiteral("Device is not connected!")},
        {QStringLiteral("IDS_CHANNEL"), QStringLiteral("Channel%d")},
        {QStringLiteral("IDS_START"), QStringLiteral("START")},
        {QStringLiteral("IDS_STOP"), QStringLiteral("STOP")},
        {QStringLiteral("IDS_TRIGGER_AUTO"), QStringLiteral("Auto.")},
        {QStringLiteral("IDS_TRIGGER_RISING_EDGE"), QStringLiteral("Rising Edge")},
        {QStringLiteral("IDS_TRIGGER_FALLING_EDGE"), QStringLiteral("Falling Edge")},
        {QStringLiteral("IDS_TRIGGER_PULSE"), QStringLiteral("Pulse")},
        {QStringLiteral("IDS_TRIGGER_POSITIVE_PULSE"), QStringLiteral("Positive Pulse")},
        {QStringLiteral("IDS_TRIGGER_NEGATIVE_PULSE"), QStringLiteral("Negative Pulse")},
        {QStringLiteral("IDS_CAPTURE_ONCE"), QStringLiteral("Once")},
        {QStringLiteral("IDS_CAPTURE_NORMAL"), QStringLiteral("Normal")},
        {QStringLiteral("IDS_CAPTURE_AUTO"), QStringLiteral("Auto.")},
        {QStringLiteral("IDS_TRIGGER"), QStringLiteral("Trigger")},
        {QStringLiteral("IDS_FORMAT"), QStringLiteral("Format")},
        {QStringLiteral("IDS_ANALYZE"), QStringLiteral("Analyze")},
    };
}

QString CMultiLanguage::LookupText(const QString& key) const
{
    return specialStrings.value(key);
}
