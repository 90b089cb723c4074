#include "programming_family.h"

namespace talvik::link {

namespace {
constexpr int kLastLoaderHardware = 99;
constexpr int kFirstChunkHardware = 300;
constexpr int kFirstExtendedHardware = 401;
// A file controller although its number lies among the chunk controllers.
constexpr int kFileHardwareAmongChunks = 515;
} // namespace

ProgrammingFamily FamilyForHardware(int hardwareNumber) {
    if (hardwareNumber <= kLastLoaderHardware) {
        return ProgrammingFamily::Loader;
    }
    if (hardwareNumber < kFirstChunkHardware || hardwareNumber == kFileHardwareAmongChunks) {
        return ProgrammingFamily::File;
    }
    return ProgrammingFamily::Chunk;
}

bool UsesExtendedChunks(int hardwareNumber) {
    return hardwareNumber >= kFirstExtendedHardware && hardwareNumber != kFileHardwareAmongChunks;
}

} // namespace talvik::link
