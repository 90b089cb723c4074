#include "termination_signals.h"

// Windows sends a window program no SIGTERM or SIGINT: it is closed through its window, so
// nothing ever arrives here.
namespace talvik::app {

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::drain() {}

} // namespace talvik::app
