#include "analyzer/library/window/VendorTestDlg.h"

#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/library/VendorHost.h"
#include "analyzer/library/window/DialogButtons.h"
#include "analyzer/library/window/VendorIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kLargestMargin = 50;
}

CVendorTestDlg::CVendorTestDlg(int marginPercent, bool playSound, const VendorHost& host, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Test Setting"));
    auto* caption = new QLabel(QStringLiteral("Margins of error:"), this);
    SetVendorControlId(caption, vendorids::kMarginCaption);
    marginList = new QComboBox(this);
    SetVendorControlId(marginList, vendorids::kMarginList);
    for (int percent = 1; percent <= kLargestMargin; ++percent)
        marginList->addItem(QStringLiteral("%1%").arg(percent));
    marginList->setCurrentIndex(qBound(1, marginPercent, kLargestMargin) - 1);
    caption->setBuddy(marginList);

    playSoundCheck = new QCheckBox(QStringLiteral("Play Sound"), this);
    SetVendorControlId(playSoundCheck, vendorids::kPlaySound);
    playSoundCheck->setChecked(playSound);

    QDialogButtonBox* buttons = OkCancelButtons(this);

    auto* form = new QFormLayout;
    form->addRow(caption, marginList);
    form->addRow(playSoundCheck);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    TranslateDialog(host.Language(), this, vendorids::kTestDialog);
}

int CVendorTestDlg::MarginPercent() const
{
    return marginList->currentIndex() + 1;
}

bool CVendorTestDlg::PlaySound() const
{
    return playSoundCheck->isChecked();
}
