#include "cli/cli.h"

#include <cstdio>

int main(int argc, char** argv) {
    std::vector<QByteArray> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    return corvanteller::runCli(args, stdout, stderr);
}
