#include "designer/ui/RemoteApp.h"

#include "designer/ui/RemoteDlg.h"

#include <QApplication>
#include <QFont>

void InstallFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"),
                               {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("WenQuanYi Micro Hei")});
}

int RunRemote(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Remote"));
    QApplication::setDesktopFileName(QStringLiteral("wavix-remote"));
    CRemoteDlg dialog;
    dialog.show();
    return app.exec();
}
