#include "analyzer/library/window/VendorRenameDlg.h"

#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/library/CodeLibrary.h"
#include "analyzer/library/VendorHost.h"
#include "analyzer/library/window/VendorIds.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

CVendorRenameDlg::CVendorRenameDlg(const QString& name, const VendorHost& host, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Rename"));
    edit = new QLineEdit(name, this);
    SetVendorControlId(edit, vendorids::kRenameEdit);
    edit->setAccessibleName(QStringLiteral("Name"));
    edit->setMaxLength(CodeLibrary::kMaxNameLength);
    edit->setMinimumWidth(320);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    SetVendorControlId(ok, vendorids::kOk);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(edit);
    layout->addWidget(ok);
    TranslateDialog(host.Language(), this, vendorids::kRenameDialog);
    edit->selectAll();
    edit->setFocus();
}

QString CVendorRenameDlg::Name() const
{
    return CleanEntryName(edit->text());
}
