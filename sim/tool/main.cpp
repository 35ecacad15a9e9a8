#include "sim/tool/ToolCommands.h"

int main(int argc, char** argv)
{
    return usbsim::RunTool(argc, argv);
}
