#include "app/basStartup.h"

int main(int argc, char** argv) {
    return varnak::Main(argc, argv);
}
