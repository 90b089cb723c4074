#include "write_pacing.h"

WritePacing& WritePacing::ProcessWide() {
    static WritePacing pacing;
    return pacing;
}
