// fighost: plays the modelling host for the figure module on the command line.
#include "host/app/commands.h"

int main(int argc, char** argv) {
    return fighost::runFighost(argc, argv);
}
