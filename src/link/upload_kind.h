#pragma once

namespace talvik::link {

// What an upload carries; the numbers are the ones the window's start buttons pass.
enum class UploadKind : int {
    Firmware = 0,
    Profile = 1,
    Sounds = 2,
};

} // namespace talvik::link
