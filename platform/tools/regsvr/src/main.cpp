// regsvr MODULE       registers a server module (DllRegisterServer)
// regsvr -u MODULE    unregisters it (DllUnregisterServer)
// regsvr --list       lists the registered classes
#include "ClassList.h"
#include "ModuleRegistration.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const std::string first = argc > 1 ? argv[1] : "";
    if (argc == 2 && first == "--list")
        return listRegisteredClasses(std::cout, std::cerr);
    if (argc == 2 && !first.empty() && first[0] != '-')
        return runModuleRegistration(first, true, std::cout, std::cerr);
    if (argc == 3 && first == "-u")
        return runModuleRegistration(argv[2], false, std::cout, std::cerr);
    std::cerr << "usage: regsvr MODULE | regsvr -u MODULE | regsvr --list\n";
    return 2;
}
