#include "analyzer/app/WavixApp.h"

int main(int argc, char** argv)
{
    return CWavixApp().Run(argc, argv);
}
