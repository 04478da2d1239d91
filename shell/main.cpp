// main.cpp -- the program's entry point on Linux: the game, played to its end.
#include "shell/start.h"

int main(int argc, char** argv) { return drumhold::enterGame(argc, argv, &drumhold::playToEnd); }
