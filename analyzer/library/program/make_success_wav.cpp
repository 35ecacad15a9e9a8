// Writes the code test's success chime: make_success_wav <file>
#include "analyzer/library/SuccessChime.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <success.wav>\n", argv[0]);
        return 2;
    }
    if (!WriteSuccessChime(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
