#include "Convert.h"
#include "Messages.h"

#include <iostream>

int main(int argc, char** argv)
{
    UseEnvironmentLanguage();
    return RunTarnel(std::vector<std::string>(argv + 1, argv + argc), std::cout);
}
