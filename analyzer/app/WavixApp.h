#pragma once

// Starts the analyzer: one main window, run until it closes.
class CWavixApp {
public:
    int Run(int argc, char** argv);
};
