#pragma once

class CWavixDlg;

// File > Import Code... and Channel > Export Code...: codes of other IR
// tools into and out of the selected channel.

// Asks for a code file (and, when it holds several, for the code) and puts
// the code into the selected channel.
void ImportCodeCommand(CWavixDlg& window);
// Asks for the format, carrier and file, and writes the selected channel.
void ExportCodeCommand(CWavixDlg& window);
