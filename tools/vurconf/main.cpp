// vurconf entry point: hands the arguments to the command runner.
#include "commands.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return vurconf::RunVurconf(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "vurconf: " << e.what() << '\n';
        return 1;
    }
}
