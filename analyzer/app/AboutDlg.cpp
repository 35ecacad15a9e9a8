#include "analyzer/app/AboutDlg.h"

#include "analyzer/app/AppIcon.h"
#include "analyzer/app/ControlIds.h"
#include "analyzer/lang/window/WindowTexts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const CMultiLanguage& language, QWidget* parent) : QDialog(parent)
{
    SetDialogNumber(this, ids::kAboutDialog);
    setWindowTitle(QStringLiteral("About Wavix II"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(PaintWavixIcon(48)));
    icon->setAccessibleName(QStringLiteral("Wavix II"));
    auto* version = new QLabel(QStringLiteral("Wavix II Version 1.0.1.1"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    SetControlId(buttons->button(QDialogButtonBox::Ok), 1);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(version, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    TranslateDialog(language, this, ids::kAboutDialog);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}
