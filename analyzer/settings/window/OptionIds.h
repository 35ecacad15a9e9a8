#pragma once

// Dialog and control numbers of the options window; language packs address them.
namespace optionids {

constexpr int kOptionDialog = 134;
constexpr int kTriggerPage = 135;
constexpr int kFormatPage = 136;
constexpr int kAnalyzePage = 142;

constexpr int kOk = 1;    // each page's OK
constexpr int kClose = 2; // the window's Close

constexpr int kTriggerModeCaption = 1020;
constexpr int kMinimumWidthCaption = 1021;
constexpr int kMaximumWidthCaption = 1022;
constexpr int kCaptureCaption = 1023;

constexpr int kPrefixCaption = 1026;
constexpr int kSuffixCaption = 1027;
constexpr int kSpaceCaption = 1031;
constexpr int kFormatCaption = 1032;
constexpr int kColumnsCaption = 1034;
constexpr int kDefault = 1036;

constexpr int kAnalyzeEnabled = 1048;

} // namespace optionids
