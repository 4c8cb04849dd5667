// The Horaku program: everything happens in LancerHoraku.
#include "application.h"

int main(int argc, char** argv)
{
    return horaku::LancerHoraku(argc, argv);
}
