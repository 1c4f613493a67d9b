#pragma once
// The search for controllers: every COM number of a range opened, asked for its
// configuration and closed again, each on a port and exchange of its own. The panel's
// connect and kztrctl's scan both search through it.
#include "RZ8Exchange.h"

#include <functional>
#include <vector>

namespace kztr {

// What a probe of one COM number found.
enum class ProbeResult { NotOpened, Silent, Answered };
struct ComProbe {
    int com = 0;
    ProbeResult result = ProbeResult::NotOpened;
    int openError = 0; // errno when the port did not open, 0 when not known
    RZ8Full reply{};   // the configuration, when answered
};
// How a search takes the COM numbers: all at the same time (a silent port costs its 5 s
// once, not once each), or one after another.
enum class ScanOrder { AllAtOnce, OneByOne };

// Probes COM first..last. Results and trace lines are those of probing one after another
// in COM order, whichever the order; lastReply (when given) gets the last answer in COM
// order, as a record probed into one after another would hold it. pump (when set) runs
// on the calling thread while the probes wait.
std::vector<ComProbe> ScanComs(Clock& clock, const CResolutionCatalogue& catalogue,
                               CRZ8FrameWide& frame, int first, int last, ScanOrder order,
                               const std::function<void()>& pump, RZ8Full* lastReply);

} // namespace kztr
