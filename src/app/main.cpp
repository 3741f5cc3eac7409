#include "app/startup.h"

int main(int argc, char *argv[])
{
    return h7q8::RunTool(argc, argv);
}
