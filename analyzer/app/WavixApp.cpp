#include "analyzer/app/WavixApp.h"

#include "analyzer/app/AppIcon.h"
#include "analyzer/app/WavixDlg.h"

#include <QApplication>

int CWavixApp::Run(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wavix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Wavix II"));
    QApplication::setDesktopFileName(QStringLiteral("wavix"));
    QApplication::setWindowIcon(WavixIcon());
    CWavixDlg dialog;
    dialog.show();
    return app.exec();
}
