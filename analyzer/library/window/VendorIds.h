#pragma once

// Dialog, control and command numbers of the code library's windows. They
// stay on the widgets and actions (property "controlId" / "commandId", as on
// the main window) because language packs address them.
namespace vendorids {

constexpr int kVendorDialog = 137;
constexpr int kAddDialog = 138;
constexpr int kContextMenu = 139;
constexpr int kRenameDialog = 140;
constexpr int kTestDialog = 141;

constexpr int kOk = 1; // also the library window's "Add"
constexpr int kCancel = 2;

// Library window (137).
constexpr int kFilterEdit = 1028;
constexpr int kList = 1029;
constexpr int kUp = 1030;
constexpr int kDown = 1031;
constexpr int kLog = 1032;
constexpr int kTest = 1033;
constexpr int kClear = 1035;
constexpr int kSave = 1038;
constexpr int kSetting = 1039;
constexpr int kCodeNameCaption = 1040;
constexpr int kDelete = 1043;
constexpr int kExport = 1053;
constexpr int kImport = 1054;

// Add (138): check boxes CH1..CH4 and their name edits.
constexpr int kAddCheck1 = 1041;
constexpr int kAddName1 = 1049;

// Rename (140).
constexpr int kRenameEdit = 1028;

// Test Setting (141).
constexpr int kMarginList = 1045;
constexpr int kPlaySound = 1046;
constexpr int kMarginCaption = 1047;

// Context menu (139): its popup, and inside it "Load To" at position 1.
constexpr int kCmdSend = 32787;
constexpr int kCmdLoadTo1 = 32789; // 32789..32792
constexpr int kCmdRename = 32793;

} // namespace vendorids

class QObject;
class QAction;

void SetVendorControlId(QObject* object, int id);
void SetVendorCommandId(QAction* action, int id);
