#include "designer/ui/RemoteApp.h"

int main(int argc, char** argv)
{
    return RunRemote(argc, argv);
}
