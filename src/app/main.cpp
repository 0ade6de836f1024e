#include "app/kvizomir.h"

int main(int argc, char** argv)
{
    return runKvizomir(argc, argv);
}
