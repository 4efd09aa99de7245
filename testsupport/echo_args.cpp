// A stand-in for a launched program: writes the arguments it was given, as one JSON array of
// strings (argv[0] first), to the file named by ECHO_ARGS_OUT. ECHO_ARGS_WAIT_FOR makes it wait
// until that file exists; ECHO_ARGS_RAISE ends it with that signal; ECHO_ARGS_EXIT is its exit
// status. Everything it is told comes through the environment, so its arguments stay untouched.
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <time.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

int main(int argc, char** argv) {
    if (const char* gate = std::getenv("ECHO_ARGS_WAIT_FOR")) {
        const timespec pause{0, 1000000};
        while (::access(gate, F_OK) != 0)
            ::nanosleep(&pause, nullptr);
    }
    if (const char* out = std::getenv("ECHO_ARGS_OUT")) {
        nlohmann::json args = nlohmann::json::array();
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
        std::ofstream(out) << args.dump() << "\n";
    }
    if (const char* sig = std::getenv("ECHO_ARGS_RAISE"))
        std::raise(std::atoi(sig));
    const char* code = std::getenv("ECHO_ARGS_EXIT");
    return code ? std::atoi(code) : 0;
}
