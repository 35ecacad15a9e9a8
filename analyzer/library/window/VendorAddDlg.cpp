#include "analyzer/library/window/VendorAddDlg.h"

#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/VendorHost.h"
#include "analyzer/library/window/DialogButtons.h"
#include "analyzer/library/window/VendorIds.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CVendorAddDlg::CVendorAddDlg(const AddChoice& choice, const VendorHost& host, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Add"));
    auto* rows = new QGridLayout;
    for (int c = 0; c < kChannelCount; ++c) {
        checks[c] = new QCheckBox(QStringLiteral("CH%1").arg(c + 1), this);
        SetVendorControlId(checks[c], vendorids::kAddCheck1 + c);
        checks[c]->setChecked(choice.ticked[size_t(c)]);
        names[c] = new QLineEdit(choice.names[size_t(c)], this);
        SetVendorControlId(names[c], vendorids::kAddName1 + c);
        names[c]->setMaxLength(CodeLibrary::kMaxNameLength);
        names[c]->setMinimumWidth(260);
        names[c]->setEnabled(checks[c]->isChecked());
        connect(checks[c], &QCheckBox::toggled, names[c], &QLineEdit::setEnabled);
        rows->addWidget(checks[c], c, 0);
        rows->addWidget(names[c], c, 1);
    }

    QDialogButtonBox* buttons = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addWidget(buttons);
    TranslateDialog(host.Language(), this, vendorids::kAddDialog);
}

AddChoice CVendorAddDlg::Choice() const
{
    AddChoice choice;
    for (int c = 0; c < kChannelCount; ++c) {
        choice.ticked[size_t(c)] = checks[c]->isChecked();
        choice.names[size_t(c)] = CleanEntryName(names[c]->text());
    }
    return choice;
}
