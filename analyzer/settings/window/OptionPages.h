#pragma once

#include "analyzer/settings/window/TabCtrlSheet.h"

class OptionsHost;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// Trigger and capture (page 135). OK applies, stores, sends the trigger to an
// identified device and refreshes the main window's trigger label.
class COptionTriggerPage : public CTabCtrlPage {
    Q_OBJECT
public:
    COptionTriggerPage(OptionsHost& host, QWidget* parent);

    void Apply();

    QComboBox* ModeList() const { return modeList; }
    QLineEdit* MinimumWidth() const { return minimumWidth; }
    QLineEdit* MaximumWidth() const { return maximumWidth; }
    QComboBox* CaptureList() const { return captureList; }
    QPushButton* DefaultButton() const override { return okButton; }

private:
    // The widths matter only for the three pulse triggers.
    void EnableWidths();

    OptionsHost& host;
    QComboBox* modeList = nullptr;
    QLineEdit* minimumWidth = nullptr;
    QLineEdit* maximumWidth = nullptr;
    QComboBox* captureList = nullptr;
    QPushButton* okButton = nullptr;
};

// The code text format (page 136). OK applies, stores the columns as typed
// and rebuilds the code text; Default only fills in the default texts.
class COptionFormatPage : public CTabCtrlPage {
    Q_OBJECT
public:
    COptionFormatPage(OptionsHost& host, QWidget* parent);

    void Apply();
    void LoadDefaults();

    QLineEdit* Prefix() const { return prefix; }
    QLineEdit* Suffix() const { return suffix; }
    QLineEdit* SpaceCharacter() const { return spaceCharacter; }
    QLineEdit* Format() const { return format; }
    QLineEdit* Columns() const { return columns; }
    QPushButton* DefaultsButton() const { return defaultsButton; }
    QPushButton* DefaultButton() const override { return okButton; }

private:
    OptionsHost& host;
    QLineEdit* prefix = nullptr;
    QLineEdit* suffix = nullptr;
    QLineEdit* spaceCharacter = nullptr;
    QLineEdit* format = nullptr;
    QLineEdit* columns = nullptr;
    QPushButton* defaultsButton = nullptr;
    QPushButton* okButton = nullptr;
};

// Protocol analysis (page 142): every click applies, stores and repaints.
class COptionAnalyzePage : public CTabCtrlPage {
    Q_OBJECT
public:
    COptionAnalyzePage(OptionsHost& host, QWidget* parent);

    QCheckBox* Enabled() const { return enabled; }

private:
    void Apply(bool on);

    OptionsHost& host;
    QCheckBox* enabled = nullptr;
};
