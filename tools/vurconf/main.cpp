// vurconf entry point: hands the arguments to the command runner.
#include "commands.h"
#include "text_out.h"

int main(int argc, char** argv) {
    vurconf::StdioOut out(stdout), err(stderr);
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        return vurconf::RunVurconf(args, out, err);
    } catch (const std::exception& e) {
        err << "vurconf: " << e.what() << '\n';
        return 1;
    }
}
