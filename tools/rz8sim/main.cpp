// rz8sim: simulated controllers on pseudo-terminals, linked as <dir>/COM<n>.
//   rz8sim --dir /tmp/ports --ctl com=3,box=2,model=C,fw=17 --ctl com=5,box=1,model=H
// Prints "ready" once the links exist; SIGINT or SIGTERM removes them and exits 0.
#include "ControllerOption.h"
#include "Rz8Simulator.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

void usage(std::ostream& out) {
    out << "usage: rz8sim --dir DIR --ctl CTL [--ctl CTL ...] [--record FILE]\n"
           "  CTL: com=N[,box=N][,model=L][,fw=N][,hpixel=N][,vpixel=N][,edidflags=N]\n"
           "        [,name=TEXT][,silent][,fe][,split[=MS]][,edid=broken|stuck][,ignore=CODE]\n"
           "  defaults     box=1,model=C,fw=1,hpixel=1920,vpixel=1080,edidflags=0x1E,\n"
           "               name=RZ8 SIM; numbers may be decimal or 0x hex\n"
           "  silent       answer nothing\n"
           "  fe           answer every 16-byte frame with code 0xFE\n"
           "  split[=MS]   send replies as 15 bytes, then 1 byte MS (20) ms later\n"
           "  edid=broken  EDID header broken until a restore request; stuck: always\n"
           "  ignore=CODE  never answer this request code (repeatable)\n"
           "  --record FILE  one line per request: ms since start, COM<n>, bytes in hex\n"
           "Each controller is linked as DIR/COM<n>; run the client with RZ8_PORT_DIR=DIR.\n";
}

} // namespace

int main(int argc, char** argv) {
    std::string dir;
    std::string recordPath;
    kztr::sim::Rz8Simulator sim;
    int controllers = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        } else if ((arg == "--dir" || arg == "--record" || arg == "--ctl") && !hasValue) {
            std::cerr << "rz8sim: " << arg << " needs a value\n";
            usage(std::cerr);
            return 2;
        } else if (arg == "--dir") {
            dir = argv[++i];
        } else if (arg == "--record") {
            recordPath = argv[++i];
        } else if (arg == "--ctl") {
            std::string error;
            const auto config = kztr::sim::parseControllerOption(argv[++i], error);
            if (!config) {
                std::cerr << "rz8sim: " << error << "\n";
                return 2;
            }
            if (!sim.addController(*config)) {
                std::cerr << "rz8sim: " << sim.error() << "\n";
                return 2;
            }
            ++controllers;
        } else {
            std::cerr << "rz8sim: unexpected argument \"" << arg << "\"\n";
            usage(std::cerr);
            return 2;
        }
    }
    if (dir.empty() || controllers == 0) {
        usage(std::cerr);
        return 2;
    }
    if (!recordPath.empty() && !sim.setRecordFile(recordPath)) {
        std::cerr << "rz8sim: " << sim.error() << "\n";
        return 1;
    }

    // Signals are taken by sigwait below; the serving thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    if (!sim.start(dir)) {
        std::cerr << "rz8sim: " << sim.error() << "\n";
        return 1;
    }
    std::cout << "ready" << std::endl;

    int received = 0;
    sigwait(&signals, &received);
    sim.stop();
    return 0;
}
