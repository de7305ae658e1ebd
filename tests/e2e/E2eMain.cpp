#include "Check.h"
#include "Driver.h"

int main(int argc, char** argv) {
    const std::string filter = check::takeFilter(argc, argv);
    if (!e2e::parseOptions(argc, argv)) {
        return 2;
    }
    return check::runTests(filter);
}
