#include "DemoDoll.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: make-demo-doll OUTDIR\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const DemoFile& file : MakeDemoDoll())
    {
        std::ofstream out(folder / file.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out.flush())
        {
            std::cerr << "make-demo-doll: cannot write " << (folder / file.name).string() << "\n";
            return 1;
        }
    }
    return 0;
}
