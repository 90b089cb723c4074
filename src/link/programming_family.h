#pragma once

namespace talvik::link {

// How a controller takes an upload, chosen by the hardware number of its version reply.
enum class ProgrammingFamily {
    // Restarted into a loader: raw bytes, each echoed before the loader's one-byte answer.
    Loader,
    // Framed requests that write a named file on the controller.
    File,
    // Framed data chunks without an open request.
    Chunk,
};

// Hardware 100 counts as a file controller, for the start and for the image alike, so that a
// file controller never receives an image prepared for a loader.
[[nodiscard]] ProgrammingFamily FamilyForHardware(int hardwareNumber);
// Chunk controllers from 401 on (except 515) use the '6'/'8' commands and a typed image.
[[nodiscard]] bool UsesExtendedChunks(int hardwareNumber);

} // namespace talvik::link
