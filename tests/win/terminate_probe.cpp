// Ends as its argument says, for terminate_test.cpp: "throw" lets an
// exception escape main, so the terminate handler ends the process;
// "abort" calls abort itself, for comparison.

#include <cstdlib>
#include <cstring>
#include <stdexcept>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "throw") == 0) {
        throw std::runtime_error("uncaught");
    }
    if (argc > 1 && std::strcmp(argv[1], "abort") == 0) {
        std::abort();
    }
    return 0;
}
