#include "write_pacing.h"

namespace talvik::link {

WritePacing& WritePacing::ProcessWide() {
    static WritePacing pacing;
    return pacing;
}

} // namespace talvik::link
