#include "analyzer/settings/window/TabCtrlSheet.h"

#include "analyzer/lang/window/ControlNumbers.h"

#include <QKeyEvent>
#include <QPushButton>

CTabCtrlPage::CTabCtrlPage(int dialogNumber, QWidget* parent) : QWidget(parent)
{
    SetDialogNumber(this, dialogNumber);
}

void CTabCtrlPage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

CTabCtrlSheet::CTabCtrlSheet(QWidget* parent) : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &CTabCtrlSheet::ShowPage);
}

bool CTabCtrlSheet::AddPage(CTabCtrlPage* page, const QString& title)
{
    if (count() >= kMaxPages)
        return false;
    addTab(page, title);
    ShowPage(currentIndex());
    return true;
}

void CTabCtrlSheet::ShowPage(int index)
{
    // Enter presses the OK of the page on show, not that of a hidden one.
    for (int i = 0; i < count(); ++i) {
        if (auto* page = qobject_cast<CTabCtrlPage*>(widget(i)))
            if (QPushButton* button = page->DefaultButton())
                button->setDefault(i == index);
    }
}
