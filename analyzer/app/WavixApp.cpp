#include "analyzer/app/WavixApp.h"

#include "analyzer/app/AppIcon.h"
#include "analyzer/app/WavixDlg.h"
#include "analyzer/lang/window/WindowTexts.h"

#include <QApplication>

int CWavixApp::Run(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wavix"));
    QApplication::setDesktopFileName(QStringLiteral("wavix"));
    QApplication::setWindowIcon(WavixIcon());
    UseChineseFallbackFont();
    CWavixDlg dialog;
    dialog.show();
    return app.exec();
}
