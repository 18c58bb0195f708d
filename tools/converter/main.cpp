#include "Convert.h"
#include "i18n/ConsoleCatalog.h"

#include <iostream>

int main(int argc, char** argv)
{
    constexpr const char* kCatalogFolders[] = {CATALOG_FROM_BUILD, CATALOG_FROM_INSTALL};
    UseEnvironmentLanguage(kCatalogFolders);
    return RunTarnel(std::vector<std::string>(argv + 1, argv + argc), std::cout);
}
