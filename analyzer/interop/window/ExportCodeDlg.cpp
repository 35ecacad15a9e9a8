#include "analyzer/interop/window/ExportCodeDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Kept while the program runs, like the library's Add dialog memory.
struct ExportMemory {
    std::optional<CodeFormat> format;
    int carrierHz = interop::kDefaultCarrierHz;
    QString folder;
};

ExportMemory& Memory()
{
    static ExportMemory memory;
    return memory;
}

} // namespace

bool KeepsCarrier(CodeFormat format)
{
    return format == CodeFormat::Pronto || format == CodeFormat::Lirc || format == CodeFormat::Flipper;
}

CExportCodeDlg::CExportCodeDlg(const std::vector<CodeFormat>& formats, const QString& baseName, QWidget* parent)
    : QDialog(parent), formats_(formats)
{
    setWindowTitle(QStringLiteral("Export Code"));

    formatList_ = new QComboBox(this);
    for (CodeFormat format : formats_)
        formatList_->addItem(CodeFormatFilter(format));
    carrier_ = new QSpinBox(this);
    carrier_->setRange(interop::kMinCarrierHz, interop::kMaxCarrierHz);
    carrier_->setSingleStep(1000);
    carrier_->setValue(Memory().carrierHz);
    pathEdit_ = new QLineEdit(this);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathEdit_, 1);
    pathRow->addWidget(browse);

    pathEdit_->setMinimumWidth(360);
    // The file label's mnemonic goes to the path, not to the row around it.
    auto* pathLabel = new QLabel(QStringLiteral("F&ile:"), this);
    pathLabel->setBuddy(pathEdit_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Format:"), formatList_);
    form->addRow(QStringLiteral("&Carrier (Hz):"), carrier_);
    form->addRow(pathLabel, pathRow);
    carrierLabel_ = qobject_cast<QLabel*>(form->labelForField(carrier_));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    int first = 0;
    for (std::size_t i = 0; i < formats_.size(); ++i)
        if (Memory().format == formats_[i])
            first = int(i);
    formatList_->setCurrentIndex(first);
    shownFormat_ = format();
    const QString folder = Memory().folder.isEmpty() ? QDir::currentPath() : Memory().folder;
    pathEdit_->setText(QDir(folder).filePath(baseName + CodeFormatSuffix(shownFormat_)));
    FormatChanged();

    connect(formatList_, &QComboBox::currentIndexChanged, this, &CExportCodeDlg::FormatChanged);
    connect(pathEdit_, &QLineEdit::textChanged, this, &CExportCodeDlg::UpdateOk);
    connect(browse, &QPushButton::clicked, this, &CExportCodeDlg::Browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportCodeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExportCodeDlg::reject);
    UpdateOk();
}

CodeFormat CExportCodeDlg::format() const
{
    const int index = formatList_->currentIndex();
    return index >= 0 && std::size_t(index) < formats_.size() ? formats_[std::size_t(index)] : CodeFormat::Pronto;
}

ExportOptions CExportCodeDlg::options() const
{
    ExportOptions options;
    options.carrierHz = carrier_->value();
    options.remoteName = QFileInfo(path()).baseName();
    return options;
}

QString CExportCodeDlg::path() const
{
    return pathEdit_->text().trimmed();
}

void CExportCodeDlg::FormatChanged()
{
    const CodeFormat now = format();
    // The suggested ending follows the format unless the user typed another.
    QString text = pathEdit_->text();
    const QString oldSuffix = CodeFormatSuffix(shownFormat_);
    if (text.endsWith(oldSuffix)) {
        text.chop(oldSuffix.size());
        pathEdit_->setText(text + CodeFormatSuffix(now));
    }
    shownFormat_ = now;
    carrier_->setEnabled(KeepsCarrier(now));
    if (carrierLabel_)
        carrierLabel_->setEnabled(KeepsCarrier(now));
}

void CExportCodeDlg::UpdateOk()
{
    okButton_->setEnabled(!path().isEmpty());
}

void CExportCodeDlg::Browse()
{
    QFileDialog dialog(this, QStringLiteral("Export Code"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({CodeFormatFilter(format()), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(CodeFormatSuffix(format()).mid(1));
    dialog.selectFile(path());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        pathEdit_->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

void CExportCodeDlg::accept()
{
    Memory().format = format();
    Memory().carrierHz = carrier_->value();
    Memory().folder = QFileInfo(path()).absolutePath();
    QDialog::accept();
}
