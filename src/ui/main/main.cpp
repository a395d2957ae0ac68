#include "ui/shell/program.h"

int main(int argc, char** argv) {
    return pelko::RunProgram(argc, argv);
}
