#include "forms/application.h"

int main(int argc, char** argv)
{
    return runKvizomir(argc, argv);
}
