#include "designer/ui/AboutRemoteDlg.h"

#include "designer/RemoteLayout.h"
#include "designer/ui/ControlId.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutRemoteDlg::CAboutRemoteDlg(QWidget* parent) : QDialog(parent)
{
    remote::SetControlId(this, remote::kAboutDialog);
    setWindowTitle(QStringLiteral("About Remote"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/designer/icon/%1.png").arg(remote::kIcon)));
    icon->setAccessibleName(QStringLiteral("Remote"));
    auto* version = new QLabel(QStringLiteral("Remote Version 1.0"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    remote::SetControlId(buttons->button(QDialogButtonBox::Ok), 1);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(version, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}
