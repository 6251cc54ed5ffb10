#include "run_command_line.hpp"

int main(int argc, char** argv) {
    return venk::cli::run_command_line(argc, argv);
}
