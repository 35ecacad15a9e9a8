#pragma once

// The Remote program: the application object, the font fall-backs and the
// main window.
int RunRemote(int argc, char** argv);

// "微软雅黑" and "宋体" are Windows faces: map them to faces a Linux
// desktop has, so that Chinese captions render too.
void InstallFontSubstitutes();
