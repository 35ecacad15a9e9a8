#include "tests/app/support/DialogDriver.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

void TypeFileName(QFileDialog* dialog, const QString& path)
{
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    const QString folder = QFileInfo(path).absolutePath();
    dialog->setDirectory(folder);
    // The dialog lists a folder in the background; Enter before the file
    // shows would not find it.
    auto* files = dialog->findChild<QFileSystemModel*>();
    QVERIFY(files);
    if (QFile::exists(path))
        QTRY_VERIFY(files->rowCount(files->index(folder)) > 0);
    name->clear();
    QTest::keyClicks(name, QFileInfo(path).fileName());
    // The name box's completion list would take the Enter key.
    if (name->completer() && name->completer()->popup()->isVisible())
        QTest::keyClick(name->completer()->popup(), Qt::Key_Escape);
    QTest::keyClick(name, Qt::Key_Return);
}

QAction* MenuAction(QMainWindow& window, const QString& menu, const QString& text)
{
    for (QAction* top : window.menuBar()->actions())
        if (top->menu() && top->text() == menu)
            for (QAction* action : top->menu()->actions())
                if (action->text() == text)
                    return action;
    return nullptr;
}

DialogWatchdog::DialogWatchdog()
{
    timer.setInterval(5000);
    connect(&timer, &QTimer::timeout, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal == seen) {
            stranded = true;
            modal->close();
        }
        seen = modal;
    });
    timer.start();
}
