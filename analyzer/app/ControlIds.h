#pragma once

#include "analyzer/lang/window/ControlNumbers.h"

// Dialog, control and command numbers. They stay on the widgets and actions
// (ControlNumbers.h) because language packs address them
// and the menu commands route by them.
namespace ids {

constexpr int kAboutDialog = 100;
constexpr int kMainDialog = 102;

constexpr int kStartStop = 1;
constexpr int kStatusLine = 1000;
constexpr int kMainPanel = 1001;
constexpr int kOverviewPanel = 1003;
constexpr int kZoomList = 1004;
constexpr int kOutputBox = 1011;
constexpr int kZoomSpin = 1012;
constexpr int kTriggerCaption = 1014;
constexpr int kZoomCaption = 1015;
constexpr int kTriggerText = 1016;
constexpr int kSendChannel1 = 1024; // 1024..1027
constexpr int kChannelLabel = 1044;

constexpr int kCmdExit = 32771;
constexpr int kCmdAbout = 32772;
constexpr int kCmdSaveData = 32773;
constexpr int kCmdLoadData = 32774;
constexpr int kCmdSaveChannel1 = 32776; // 32776..32779
constexpr int kCmdChannel1 = 32781;     // 32781..32784
constexpr int kCmdOption = 32785;
constexpr int kCmdVendor = 32786;
constexpr int kCmdClear = 32801;
constexpr int kCmdHelp = 32802;
constexpr int kCmdImportCode = 32803;
constexpr int kCmdExportCode = 32804;
constexpr int kCmdLanguageFirst = 60000;
constexpr int kCmdLanguageLast = 60999;

} // namespace ids
