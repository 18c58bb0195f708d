#include "Convert.h"

#include <iostream>

int main(int argc, char** argv)
{
    return RunTarnel(std::vector<std::string>(argv + 1, argv + argc), std::cout);
}
