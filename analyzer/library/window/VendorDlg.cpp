// The code library window: controls, context menu and texts.
#include "analyzer/library/window/VendorDlg.h"

#include "analyzer/lang/MultiLanguage.h"
#include "analyzer/lang/window/WindowTexts.h"
#include "analyzer/library/LibraryListModel.h"
#include "analyzer/library/RecordFile.h"
#include "analyzer/library/SoundPlayer.h"
#include "analyzer/library/VendorHost.h"
#include "analyzer/library/window/VendorIds.h"
#include "analyzer/settings/CodeTestSettings.h"
#include "analyzer/settings/SettingsStore.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kNumberColumnWidth = 100;
constexpr int kNameColumnWidth = 600;
constexpr int kMaxFilterLength = 256;

template <typename W>
W* Numbered(W* widget, int id)
{
    SetVendorControlId(widget, id);
    return widget;
}

} // namespace

CVendorDlg::CVendorDlg(VendorHost& vendorHost, QWidget* parent)
    : QDialog(parent), host(vendorHost), soundPlayer(&SoundPlayer::Process())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    SetVendorControlId(this, vendorids::kVendorDialog);
    setWindowTitle(QStringLiteral("Vendor"));

    LoadRecords(RecordFilePath(host.LibraryFolder()), library);
    model = new LibraryListModel(library, this);
    BuildControls();
    BuildContextMenu();
    RefreshList();

    const CodeTestSettings test = LoadCodeTestSettings(SettingsPath());
    testMargin = test.marginsOfError;
    playSound = test.playSound;
    testCheck->setChecked(test.enabled);
    SetTestEnabled(test.enabled);
    // Opening the window writes the switch back as it was read.
    WriteTestEnabled(SettingsPath(), test.enabled);
    connect(testCheck, &QCheckBox::toggled, this, [this](bool on) {
        SetTestEnabled(on);
        WriteTestEnabled(SettingsPath(), on);
    });
    Retranslate();
}

CVendorDlg::~CVendorDlg() = default;

QString CVendorDlg::SettingsPath() const
{
    return SettingsFilePath(host.LibraryFolder());
}

void CVendorDlg::BuildControls()
{
    auto* filterCaption = Numbered(new QLabel(QStringLiteral("Code Name:"), this), vendorids::kCodeNameCaption);
    filterEdit = Numbered(new QLineEdit(this), vendorids::kFilterEdit);
    filterEdit->setMaxLength(kMaxFilterLength);
    filterCaption->setBuddy(filterEdit);
    auto* wildcardHint = new QLabel(QStringLiteral("(* ?)"), this);
    connect(filterEdit, &QLineEdit::textChanged, this, &CVendorDlg::RefreshList);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterCaption);
    filterRow->addWidget(filterEdit, 1);
    filterRow->addWidget(wildcardHint);

    list = Numbered(new QTableView(this), vendorids::kList);
    list->setAccessibleName(QStringLiteral("Codes"));
    list->setModel(model);
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setWordWrap(false);
    list->setCornerButtonEnabled(false);
    list->verticalHeader()->hide();
    // Fixed row heights keep a refresh of a thousand rows cheap.
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 6);
    list->horizontalHeader()->setHighlightSections(false);
    list->horizontalHeader()->setSectionsClickable(false);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setStretchLastSection(true);
    list->setColumnWidth(LibraryListModel::kNumberColumn, kNumberColumnWidth);
    list->setColumnWidth(LibraryListModel::kNameColumn, kNameColumnWidth);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, &CVendorDlg::ShowContextMenu);
    connect(list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) { SendEntry(index.row()); });

    addButton = Numbered(new QPushButton(QStringLiteral("Add"), this), vendorids::kOk);
    upButton = Numbered(new QPushButton(QStringLiteral("↑"), this), vendorids::kUp);
    downButton = Numbered(new QPushButton(QStringLiteral("↓"), this), vendorids::kDown);
    deleteButton = Numbered(new QPushButton(QStringLiteral("Delete"), this), vendorids::kDelete);
    upButton->setToolTip(QStringLiteral("Move up"));
    downButton->setToolTip(QStringLiteral("Move down"));
    // The library window's button 1 is its default, as in a dialog's OK.
    addButton->setDefault(true);
    connect(addButton, &QPushButton::clicked, this, &CVendorDlg::AddEntries);
    connect(upButton, &QPushButton::clicked, this, &CVendorDlg::MoveSelectedUp);
    connect(downButton, &QPushButton::clicked, this, &CVendorDlg::MoveSelectedDown);
    connect(deleteButton, &QPushButton::clicked, this, &CVendorDlg::DeleteSelected);
    buttonRow = new QHBoxLayout;
    for (QPushButton* button : {addButton, upButton, downButton, deleteButton})
        buttonRow->addWidget(button);
    buttonRow->addStretch(1);
    exportButton = Numbered(new QPushButton(QStringLiteral("Export"), this), vendorids::kExport);
    importButton = Numbered(new QPushButton(QStringLiteral("Import"), this), vendorids::kImport);
    for (QPushButton* button : {exportButton, importButton}) {
        button->setAutoDefault(false);
        buttonRow->addWidget(button);
    }
    connect(exportButton, &QPushButton::clicked, this, &CVendorDlg::ExportEntries);
    connect(importButton, &QPushButton::clicked, this, &CVendorDlg::ImportEntries);

    auto* testGroup = new QGroupBox(this);
    testCheck = Numbered(new QCheckBox(QStringLiteral("Test"), testGroup), vendorids::kTest);
    settingButton = Numbered(new QPushButton(QStringLiteral("Setting"), testGroup), vendorids::kSetting);
    saveButton = Numbered(new QPushButton(QStringLiteral("Save"), testGroup), vendorids::kSave);
    clearButton = Numbered(new QPushButton(QStringLiteral("Clear"), testGroup), vendorids::kClear);
    logBox = Numbered(new QPlainTextEdit(testGroup), vendorids::kLog);
    logBox->setAccessibleName(QStringLiteral("Test log"));
    logBox->setReadOnly(true);
    logBox->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    logBox->setMinimumHeight(140);
    connect(settingButton, &QPushButton::clicked, this, &CVendorDlg::OpenTestSetting);
    connect(saveButton, &QPushButton::clicked, this, &CVendorDlg::SaveLog);
    connect(clearButton, &QPushButton::clicked, logBox, &QPlainTextEdit::clear);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(testCheck);
    testRow->addStretch(1);
    for (QPushButton* button : {settingButton, saveButton, clearButton}) {
        button->setAutoDefault(false);
        testRow->addWidget(button);
    }
    auto* testLayout = new QVBoxLayout(testGroup);
    testLayout->addLayout(testRow);
    testLayout->addWidget(logBox);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(list, 3);
    layout->addLayout(buttonRow);
    layout->addWidget(testGroup, 2);
    resize(kNumberColumnWidth + kNameColumnWidth + 60, 600);
}

void CVendorDlg::BuildContextMenu()
{
    contextMenu = new QMenu(this);
    sendAction = contextMenu->addAction(QStringLiteral("Send(&S)"));
    SetVendorCommandId(sendAction, vendorids::kCmdSend);
    connect(sendAction, &QAction::triggered, this, [this] { SendEntry(FirstSelectedRow()); });
    loadToMenu = contextMenu->addMenu(QStringLiteral("Load To(&L)"));
    for (int c = 0; c < kChannelCount; ++c) {
        loadToActions[c] = loadToMenu->addAction(QStringLiteral("CH&%1").arg(c + 1));
        SetVendorCommandId(loadToActions[c], vendorids::kCmdLoadTo1 + c);
        connect(loadToActions[c], &QAction::triggered, this, [this, c] { LoadEntryToChannel(c); });
    }
    renameAction = contextMenu->addAction(QStringLiteral("Rename(&R)"));
    SetVendorCommandId(renameAction, vendorids::kCmdRename);
    connect(renameAction, &QAction::triggered, this, &CVendorDlg::RenameEntry);
}

void CVendorDlg::Retranslate()
{
    const CMultiLanguage& language = host.Language();
    model->SetColumnTitles(language.LookupText(QStringLiteral("IDS_NUMBER")),
                           language.LookupText(QStringLiteral("IDS_NAME")));
    TranslateDialog(language, this, vendorids::kVendorDialog);
    // The context menu is popup 0 of its menu.
    TranslateMenu(language, contextMenu, vendorids::kContextMenu, {0});
}

void CVendorDlg::ShowContextMenu(const QPoint& position)
{
    const QModelIndex index = list->indexAt(position);
    if (!index.isValid())
        return;
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    contextMenu->popup(list->viewport()->mapToGlobal(position));
}
